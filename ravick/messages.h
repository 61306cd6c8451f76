// Every text ravick prints, and the mapping from a failed engine start to
// its message. Failures end the run with FAILURE_RESULT.
#ifndef RAVICK_MESSAGES_H
#define RAVICK_MESSAGES_H

enum { FAILURE_RESULT = 255 };

// The outcome of a step of the run: MSG_NONE when it succeeded, otherwise
// the message that ends the run. MSG_SILENT ends it without a line.
enum ravick_message {
    MSG_NONE = 0,
    MSG_INVALID_ARGUMENTS,
    MSG_USAGE,
    MSG_INVALID_FORMAT,
    MSG_NO_MODULE_FILE,
    MSG_NO_LONG_NAME,
    MSG_NO_STATUS_FILE,
    MSG_NO_EXECUTABLE,
    MSG_TOO_LONG_ARGUMENTS,
    MSG_NO_MEMORY,
    MSG_UNKNOWN_ERROR,
    MSG_SILENT
};

// The message text of an error line ("" for MSG_NONE and MSG_SILENT).
const char* message_text(ravick_message message);

// The message for a plat_spawn_wait status other than PLAT_OK.
ravick_message spawn_failure_message(int status);

// Writes "<program>: <message>\n" to standard error; nothing for MSG_NONE
// or MSG_SILENT. MSG_INVALID_ARGUMENTS is followed by the usage text.
void print_error(const char* program, ravick_message message);

// The help text for standard output.
extern const char HELP_TEXT[];

#endif
