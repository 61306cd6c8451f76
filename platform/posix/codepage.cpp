// The active ANSI code page as Wine derives it from the Unix locale: 932 for
// a Japanese locale, 1252 otherwise. QUILLBAY_CODEPAGE overrides it.
#ifndef _WIN32
#include <stdlib.h>
#include <string.h>

#include "platform.h"
#include "posix_encoding.h"

static unsigned active_code_page()
{
    const char* forced = getenv("QUILLBAY_CODEPAGE");
    if (forced != NULL && *forced != '\0')
        return (unsigned)strtoul(forced, NULL, 10) == 932 ? 932 : 1252;
    const char* names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char* name : names) {
        const char* locale = getenv(name);
        if (locale != NULL && *locale != '\0')
            return strncmp(locale, "ja_JP", 5) == 0 || strncmp(locale, "ja.", 3) == 0 ? 932 : 1252;
    }
    return 1252;
}

int plat_code_page(plat_code_page_info* info)
{
    memset(info, 0, sizeof *info);
    info->code_page = active_code_page();
    for (int c = 0; c < 256; ++c)
        info->lower[c] = (unsigned char)c;
    for (int c = 'A'; c <= 'Z'; ++c)
        info->lower[c] = (unsigned char)(c + 32);
    if (info->code_page == 932) {
        for (int c = 0x81; c <= 0x9F; ++c)
            info->lead[c] = 1;
        for (int c = 0xE0; c <= 0xFC; ++c)
            info->lead[c] = 1;
    } else {
        // Windows-1252: the accented capitals and the four extra capitals.
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7)
                info->lower[c] = (unsigned char)(c + 0x20);
        info->lower[0x8A] = 0x9A;
        info->lower[0x8C] = 0x9C;
        info->lower[0x8E] = 0x9E;
        info->lower[0x9F] = 0xFF;
    }
    return PLAT_OK;
}

// Capital ranges of code page 932 that have small partners: full-width
// Latin, Greek and Cyrillic letters.
struct case_range {
    unsigned first, last, lower_first;
};
static const case_range CP932_CAPITALS[] = {
    {0x8260, 0x8279, 0x8281},   // full-width A..Z
    {0x839F, 0x83B6, 0x83BF},   // Greek capitals
    {0x8440, 0x8460, 0x8470},   // Cyrillic capitals
    {0x8754, 0x875D, 0xFA40},   // Roman numerals I..X (NEC row)
    {0xFA4A, 0xFA53, 0xFA40},   // Roman numerals I..X (IBM row)
};

// Cyrillic small letters skip 0x847F, which is no character.
static unsigned cyrillic_small(unsigned code)
{
    return code >= 0x847F ? code + 1 : code;
}

int plat_lower_double_byte(unsigned char pair[2])
{
    static const unsigned code_page = active_code_page();
    if (code_page != 932)
        return PLAT_FAILED;
    unsigned trail = pair[1];
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC)
        return PLAT_FAILED;
    // A pair that is no character of the code page has no lower case; the
    // system would turn it into its default character, which would corrupt
    // a name, so it fails instead.
    char text[3] = {(char)pair[0], (char)pair[1], '\0'};
    char utf8[8];
    if (posix_to_utf8(text, utf8, sizeof utf8) != PLAT_OK)
        return PLAT_FAILED;
    unsigned code = (unsigned)pair[0] << 8 | trail;
    for (const case_range& range : CP932_CAPITALS) {
        if (code >= range.first && code <= range.last) {
            unsigned lower = range.lower_first + (code - range.first);
            if (range.first == 0x8440)
                lower = cyrillic_small(lower);
            pair[0] = (unsigned char)(lower >> 8);
            pair[1] = (unsigned char)(lower & 0xFF);
            break;
        }
    }
    return PLAT_OK;
}
#endif
