// Internal to the posix backend: the boundary between the programs' 8-bit
// ANSI code-page text (932 or 1252, from plat_code_page) and the UTF-8 that
// Linux file names, arguments, environment and terminals use.
#ifndef QUILLBAY_POSIX_ENCODING_H
#define QUILLBAY_POSIX_ENCODING_H
#ifndef _WIN32

#include <stddef.h>

// ANSI code-page text to UTF-8. PLAT_OK, PLAT_MORE_DATA when the result and
// its terminator do not fit in out_size (out is then empty), PLAT_BAD_NAME
// for bytes that are no character of the code page. Never writes past
// out_size; out is cleared first.
int posix_to_utf8(const char* ansi, char* out, size_t out_size);

// UTF-8 to ANSI code-page text, the same results. A character that the code
// page cannot represent is PLAT_BAD_NAME: never a substitute character or a
// truncated text.
int posix_from_utf8(const char* utf8, char* out, size_t out_size);

#endif
#endif
