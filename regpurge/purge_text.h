// The few text operations regpurge needs, kept here because the program
// takes nothing from the shared library.
#ifndef QUILLBAY_PURGE_TEXT_H
#define QUILLBAY_PURGE_TEXT_H

#include <stddef.h>

// Whether text begins with prefix, ASCII letters compared without regard
// to case and every other byte exactly.
bool starts_with_ascii_nocase(const char* text, const char* prefix);

// Appends src behind dst within size bytes (terminator included) and
// returns true, or leaves dst as it was and returns false.
bool bounded_append(char* dst, size_t size, const char* src);

#endif
