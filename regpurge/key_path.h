// The registry path regpurge works on: the product key followed by the
// path text of the command line.
#ifndef QUILLBAY_KEY_PATH_H
#define QUILLBAY_KEY_PATH_H

#include "platform.h"

enum {
    KEY_PATH_SIZE = 1300,   // the key path buffer, terminator included
    KEY_PATH_LIMIT = 260    // path plus longest sub-key name stays below this
};

extern const char PRODUCT_KEY[];

enum key_path_start {
    KEY_PATH_READY,     // the buffer names the key to remove
    KEY_PATH_OUTSIDE,   // the text would name a key beside the product key
    KEY_PATH_TOO_LONG   // the text does not fit in the buffer
};

// Checks the command line: exactly one argument, "-c:" or "-l:" (letters in
// either case) in front. Sets the root and the path text behind the selector.
bool read_command_line(int argc, char** argv, plat_root* root, const char** path_text);

// Puts the product key and the path text into path. Only an empty text (the
// product key itself) or one beginning with a backslash stays inside the
// product key: "Backup" would run on to "QuillbayBackup".
key_path_start start_key_path(char path[KEY_PATH_SIZE], const char* path_text);

#endif
