// Code-page-aware text operations over 8-bit text of the active ANSI code
// page. A lead byte and the byte after it are one character: no search ever
// matches at a second byte, and no conversion ever changes one.
#ifndef QUILLBAY_MBTEXT_H
#define QUILLBAY_MBTEXT_H

#include <stddef.h>

// Every path and name lives in a fixed text of this many characters,
// terminator included.
enum { TEXT_SIZE = 260 };

// Whether c is a lead byte of a double-byte character in the active code
// page. The tables come from the platform once, on first use.
bool mb_is_lead(unsigned char c);
unsigned mb_code_page();

// Length in bytes of the character that starts at s: 2 for a lead byte
// followed by a non-zero byte, otherwise 1 (0 at the terminator).
size_t mb_char_len(const char* s);

// First / last occurrence of the single-byte character c at a character
// boundary, or NULL.
char* mb_find(const char* s, char c);
char* mb_find_last(const char* s, char c);

// First occurrence of word (case-sensitive, byte-exact) that starts at a
// character boundary, or NULL. An empty word matches at s.
char* mb_find_word(const char* s, const char* word);

// Slash conversion in place: every backslash to '/' (to_forward true) or
// every '/' to a backslash (false). Second bytes are never touched.
void mb_convert_slashes(char* s, bool to_forward);

// Lower-casing in place: single-byte characters by the code page's case
// rules, a double-byte character as one unit by the locale's mapping. Stops
// at a double-byte character the locale cannot map and returns false; the
// rest of the text keeps its case. The length never changes.
bool mb_lower(char* s);

// Whole-string comparison that folds only ASCII A-Z to a-z; every other
// byte must match exactly.
bool mb_equal_ascii_nocase(const char* a, const char* b);

// Comparison without regard to case, code-page-aware: both texts compared
// as mb_lower would make them. n limits the bytes compared (SIZE_MAX for the
// whole texts); a double-byte character is never split by n.
bool mb_equal_nocase(const char* a, const char* b, size_t n);

// Bounded copy and append for fixed texts: write the whole of src behind
// dst within size bytes (terminator included) and return true, or, when it
// does not fit, leave dst exactly as it was and return false.
bool mb_copy(char* dst, size_t size, const char* src);
bool mb_append(char* dst, size_t size, const char* src);
// The same for the first n bytes of src (or fewer, at its terminator).
bool mb_copy_n(char* dst, size_t size, const char* src, size_t n);

// Decimal text of a number: base 10, '-' only for a negative number, no
// leading zeros. out must hold 12 bytes.
void mb_decimal(int value, char out[12]);

#endif
