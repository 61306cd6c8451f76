// The exit codes of fmtmenu and the one message it can show.
#ifndef QUILLBAY_FMTMENU_CODES_H
#define QUILLBAY_FMTMENU_CODES_H

enum fmtmenu_exit {
    FMTMENU_DONE = 0,          // the list was read and handed to the menu writer
    FMTMENU_BAD_ARGUMENT = 1,  // no argument, or no format source of that name
    FMTMENU_NO_LIST = 2        // no usable list; the registry is left untouched
};

// Shown, and waited on, when the program is started without an argument.
extern const char MSG_INVALID_COMMAND_LINE[];

#endif
