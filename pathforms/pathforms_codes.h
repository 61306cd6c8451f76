// The result codes of pathforms: the value of returncode in the result file
// and the exit code.
#ifndef QUILLBAY_PATHFORMS_CODES_H
#define QUILLBAY_PATHFORMS_CODES_H

enum pathforms_code {
    PATHFORMS_OK = 0,
    PATHFORMS_NO_ARGUMENT = 1,   // nothing to work on, or -d without a usable name
    PATHFORMS_BAD_OPTION = 2,    // "-" or "/" followed by something other than d/D
    PATHFORMS_NO_OWN_PATH = 3,   // no default result file can be made
    // A failed form adds this shifted left by its index (0, 1, 2): 4, 8, 16.
    PATHFORMS_FORM_FAILED = 4
};

#endif
