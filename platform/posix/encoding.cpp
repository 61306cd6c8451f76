// Conversion between the programs' ANSI code page and UTF-8. Code page 1252
// is a fixed table (its five unassigned bytes pass through as the C1
// controls of the same value, as Windows does); code page 932 goes through
// iconv, opened once per direction.
#ifndef _WIN32
#include <errno.h>
#include <iconv.h>
#include <string.h>

#include "platform.h"
#include "posix_encoding.h"

namespace {

// Windows-1252 bytes 0x80..0x9F as Unicode.
const unsigned short CP1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

unsigned active_code_page()
{
    static unsigned code_page = 0;
    if (code_page == 0) {
        plat_code_page_info info;
        plat_code_page(&info);
        code_page = info.code_page;
    }
    return code_page;
}

void clear(char* out, size_t out_size)
{
    if (out_size > 0)
        out[0] = '\0';
}

// Appends the UTF-8 form of one code point; false when it does not fit
// with a terminator after it.
bool put_utf8(unsigned cp, char* out, size_t out_size, size_t* used)
{
    unsigned char bytes[3];
    size_t n;
    if (cp < 0x80) {
        bytes[0] = (unsigned char)cp;
        n = 1;
    } else if (cp < 0x800) {
        bytes[0] = (unsigned char)(0xC0 | cp >> 6);
        bytes[1] = (unsigned char)(0x80 | (cp & 0x3F));
        n = 2;
    } else {
        bytes[0] = (unsigned char)(0xE0 | cp >> 12);
        bytes[1] = (unsigned char)(0x80 | (cp >> 6 & 0x3F));
        bytes[2] = (unsigned char)(0x80 | (cp & 0x3F));
        n = 3;
    }
    if (*used + n >= out_size)
        return false;
    memcpy(out + *used, bytes, n);
    *used += n;
    return true;
}

// Decodes one UTF-8 sequence; 0 bytes consumed for malformed input.
size_t get_utf8(const unsigned char* s, unsigned* cp)
{
    if (s[0] < 0x80) {
        *cp = s[0];
        return 1;
    }
    if ((s[0] & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80) {
        *cp = (s[0] & 0x1Fu) << 6 | (s[1] & 0x3Fu);
        return *cp >= 0x80 ? 2 : 0;
    }
    if ((s[0] & 0xF0) == 0xE0 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80) {
        *cp = (s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
        return *cp >= 0x800 ? 3 : 0;
    }
    return 0;   // four-byte characters are beyond any 8-bit code page
}

int cp1252_to_utf8(const char* ansi, char* out, size_t out_size)
{
    size_t used = 0;
    for (const unsigned char* s = (const unsigned char*)ansi; *s; ++s) {
        unsigned cp = *s >= 0x80 && *s < 0xA0 ? CP1252_HIGH[*s - 0x80] : *s;
        if (!put_utf8(cp, out, out_size, &used)) {
            clear(out, out_size);
            return PLAT_MORE_DATA;
        }
    }
    out[used] = '\0';
    return PLAT_OK;
}

int cp1252_from_utf8(const char* utf8, char* out, size_t out_size)
{
    size_t used = 0;
    const unsigned char* s = (const unsigned char*)utf8;
    while (*s) {
        unsigned cp;
        size_t n = get_utf8(s, &cp);
        if (n == 0) {
            clear(out, out_size);
            return PLAT_BAD_NAME;
        }
        s += n;
        int byte = -1;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = (int)cp;
        } else {
            for (int i = 0; i < 32; ++i)
                if (CP1252_HIGH[i] == cp)
                    byte = 0x80 + i;
        }
        if (byte < 0) {
            clear(out, out_size);
            return PLAT_BAD_NAME;
        }
        if (used + 1 >= out_size) {
            clear(out, out_size);
            return PLAT_MORE_DATA;
        }
        out[used++] = (char)byte;
    }
    out[used] = '\0';
    return PLAT_OK;
}

// iconv over a whole zero-terminated text. EILSEQ and EINVAL (a character
// cut off at the end) are both a bad name: no partial result is kept.
int convert_iconv(iconv_t cd, const char* in, char* out, size_t out_size)
{
    if (cd == (iconv_t)-1) {
        clear(out, out_size);
        return PLAT_FAILED;
    }
    iconv(cd, NULL, NULL, NULL, NULL);
    char* src = (char*)in;
    size_t src_left = strlen(in);
    char* dst = out;
    size_t dst_left = out_size > 0 ? out_size - 1 : 0;
    size_t done = iconv(cd, &src, &src_left, &dst, &dst_left);
    if (done == (size_t)-1) {
        int error = errno;
        clear(out, out_size);
        return error == E2BIG ? PLAT_MORE_DATA : PLAT_BAD_NAME;
    }
    if (out_size == 0)
        return PLAT_MORE_DATA;
    *dst = '\0';
    return PLAT_OK;
}

}  // namespace

int posix_to_utf8(const char* ansi, char* out, size_t out_size)
{
    if (out_size == 0)
        return PLAT_MORE_DATA;
    if (active_code_page() != 932)
        return cp1252_to_utf8(ansi, out, out_size);
    static iconv_t cd = iconv_open("UTF-8", "CP932");
    return convert_iconv(cd, ansi, out, out_size);
}

int posix_from_utf8(const char* utf8, char* out, size_t out_size)
{
    if (out_size == 0)
        return PLAT_MORE_DATA;
    if (active_code_page() != 932)
        return cp1252_from_utf8(utf8, out, out_size);
    static iconv_t cd = iconv_open("CP932", "UTF-8");
    return convert_iconv(cd, utf8, out, out_size);
}
#endif
