// The long, absolute, lower-case form of a source file name: the form the
// engine is handed and whose log ravick reads afterwards.
#ifndef RAVICK_LONG_NAME_H
#define RAVICK_LONG_NAME_H

#include "mbtext.h"

// Writes the long name of word into out (backslashes as separators).
// A word with a drive ("c:...") and no '~' is only lower-cased; any other
// word is made absolute and each component holding '~' is replaced by the
// long name stored in the file system. Fails when such a component names
// nothing, when a directory component names a file, when the result does
// not fit in TEXT_SIZE characters, or when a double-byte character cannot
// be lower-cased; out is then unusable.
bool expand_long_name(const char* word, char out[TEXT_SIZE]);

#endif
