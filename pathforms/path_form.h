// One path form: the absolute path of a file rebuilt from the directory
// entries on disk, in one of three renderings.
#ifndef QUILLBAY_PATH_FORM_H
#define QUILLBAY_PATH_FORM_H

#include <stddef.h>

#include "mbtext.h"

enum { FORM_COUNT = 3 };

struct path_form {
    char suffix;             // of the key names: none, '2' or '3'
    size_t last_separator;   // position of the last backslash in text
    char text[TEXT_SIZE];
};

// Builds form index (0: long names lower-cased, 1: long names as stored,
// 2: short names lower-cased) of file_argument. Returns false when the form
// cannot be built: no file argument, no full path, a directory on the way
// missing or not a directory, or a text that would not fit.
bool build_path_form(path_form* form, int index, const char* file_argument);

#endif
