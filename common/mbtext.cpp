#include "mbtext.h"

#include <stdint.h>
#include <string.h>

#include "platform.h"

// The code page's tables, fetched from the platform on first use. Should
// the platform fail, the text is treated as single-byte ASCII.
static const plat_code_page_info& code_page_tables()
{
    static plat_code_page_info info;
    static bool loaded = false;
    if (!loaded) {
        if (plat_code_page(&info) != PLAT_OK) {
            memset(&info, 0, sizeof info);
            info.code_page = 1252;
            for (int c = 0; c < 256; ++c)
                info.lower[c] = (unsigned char)((c >= 'A' && c <= 'Z') ? c + 32 : c);
        }
        loaded = true;
    }
    return info;
}

bool mb_is_lead(unsigned char c)
{
    return code_page_tables().lead[c] != 0;
}

unsigned mb_code_page()
{
    return code_page_tables().code_page;
}

size_t mb_char_len(const char* s)
{
    if (*s == '\0')
        return 0;
    if (mb_is_lead((unsigned char)*s) && s[1] != '\0')
        return 2;
    return 1;
}

char* mb_find(const char* s, char c)
{
    const unsigned char* lead = code_page_tables().lead;
    for (; *s != '\0'; ++s) {
        if (*s == c)
            return const_cast<char*>(s);
        if (lead[(unsigned char)*s] && s[1] != '\0')
            ++s;
    }
    return NULL;
}

char* mb_find_last(const char* s, char c)
{
    const unsigned char* lead = code_page_tables().lead;
    const char* found = NULL;
    for (; *s != '\0'; ++s) {
        if (*s == c)
            found = s;
        else if (lead[(unsigned char)*s] && s[1] != '\0')
            ++s;
    }
    return const_cast<char*>(found);
}

// Whether the code page has any lead byte at all; single-byte code pages
// need no character stepping.
static bool has_lead_bytes()
{
    static const bool any = [] {
        const unsigned char* lead = code_page_tables().lead;
        for (int c = 0; c < 256; ++c)
            if (lead[c])
                return true;
        return false;
    }();
    return any;
}

char* mb_find_word(const char* s, const char* word)
{
    if (*word == '\0')
        return const_cast<char*>(s);
    // The byte search finds candidates quickly; a candidate counts only when
    // it starts a character, which the walk from the last known character
    // start decides. The walk never goes back, so the whole search stays
    // linear.
    const char* candidate = strstr(s, word);
    if (candidate == NULL || !has_lead_bytes())
        return const_cast<char*>(candidate);
    const unsigned char* lead = code_page_tables().lead;
    const char* start = s;
    while (candidate != NULL) {
        while (start < candidate) {
            if (lead[(unsigned char)*start] && start[1] != '\0')
                start += 2;
            else
                start += 1;
        }
        if (start == candidate)
            return const_cast<char*>(candidate);
        // The candidate is a second byte; the next character starts at start.
        candidate = strstr(start, word);
    }
    return NULL;
}

void mb_convert_slashes(char* s, bool to_forward)
{
    const char from = to_forward ? '\\' : '/';
    const char to = to_forward ? '/' : '\\';
    const unsigned char* lead = code_page_tables().lead;
    for (; *s != '\0'; ++s) {
        if (*s == from)
            *s = to;
        else if (lead[(unsigned char)*s] && s[1] != '\0')
            ++s;
    }
}

bool mb_lower(char* s)
{
    const plat_code_page_info& info = code_page_tables();
    for (; *s != '\0'; ++s) {
        unsigned char c = (unsigned char)*s;
        if (info.lead[c] && s[1] != '\0') {
            if (plat_lower_double_byte((unsigned char*)s) != PLAT_OK)
                return false;
            ++s;
        } else {
            *s = (char)info.lower[c];
        }
    }
    return true;
}

static unsigned char ascii_lower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? (unsigned char)(c + ('a' - 'A')) : c;
}

bool mb_equal_ascii_nocase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        if (ascii_lower((unsigned char)*a) != ascii_lower((unsigned char)*b))
            return false;
        if (*a == '\0')
            return true;
    }
}

bool mb_equal_nocase(const char* a, const char* b, size_t n)
{
    const plat_code_page_info& info = code_page_tables();
    size_t i = 0;
    while (i < n) {
        unsigned char ca = (unsigned char)a[i];
        unsigned char cb = (unsigned char)b[i];
        if (ca == '\0' || cb == '\0')
            return ca == cb;
        if (info.lead[ca] && a[i + 1] != '\0') {
            // A double-byte character compares as one unit, lowered by the
            // locale; it only ever equals another double-byte character.
            if (!info.lead[cb] || b[i + 1] == '\0')
                return false;
            unsigned char pa[2] = {ca, (unsigned char)a[i + 1]};
            unsigned char pb[2] = {cb, (unsigned char)b[i + 1]};
            plat_lower_double_byte(pa);
            plat_lower_double_byte(pb);
            if (pa[0] != pb[0] || pa[1] != pb[1])
                return false;
            i += 2;
        } else {
            if (info.lower[ca] != info.lower[cb])
                return false;
            ++i;
        }
    }
    return true;
}

bool mb_copy_n(char* dst, size_t size, const char* src, size_t n)
{
    size_t len = 0;
    while (len < n && src[len] != '\0')
        ++len;
    if (size == 0 || len >= size)
        return false;
    memmove(dst, src, len);
    dst[len] = '\0';
    return true;
}

bool mb_copy(char* dst, size_t size, const char* src)
{
    return mb_copy_n(dst, size, src, SIZE_MAX);
}

bool mb_append(char* dst, size_t size, const char* src)
{
    size_t used = strnlen(dst, size);
    if (used >= size)
        return false;
    return mb_copy(dst + used, size - used, src);
}

void mb_decimal(int value, char out[12])
{
    char digits[12];
    int n = 0;
    unsigned magnitude = value < 0 ? 0U - (unsigned)value : (unsigned)value;
    do {
        digits[n++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int pos = 0;
    if (value < 0)
        out[pos++] = '-';
    while (n > 0)
        out[pos++] = digits[--n];
    out[pos] = '\0';
}
