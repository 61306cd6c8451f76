// Code page backend: the active ANSI code page, its lead bytes and the
// system locale's lower-case mapping. The system locale is the one that
// chose the ANSI code page, so its mapping matches the bytes we hold.
#ifdef _WIN32
#include <string.h>

#include "win32_status.h"

// Lowers one single-byte character. Bytes that the code page does not
// define come back from the locale as a default character; a mapping is
// taken only when upper-casing the result gives the byte back.
static unsigned char lower_single_byte(unsigned char c)
{
    char in = (char)c;
    char lower = 0;
    if (LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_LOWERCASE, &in, 1, &lower, 1) != 1)
        return c;
    if ((unsigned char)lower == c)
        return c;
    char upper = 0;
    if (LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, &lower, 1, &upper, 1) != 1 ||
        (unsigned char)upper != c)
        return c;
    return (unsigned char)lower;
}

int plat_code_page(plat_code_page_info* info)
{
    memset(info, 0, sizeof *info);
    info->code_page = GetACP();
    for (int c = 0; c < 256; ++c) {
        info->lead[c] = IsDBCSLeadByteEx(info->code_page, (BYTE)c) ? 1 : 0;
        info->lower[c] = c == 0 || info->lead[c] ? (unsigned char)c : lower_single_byte((unsigned char)c);
    }
    return PLAT_OK;
}

int plat_lower_double_byte(unsigned char pair[2])
{
    UINT code_page = GetACP();
    if (!IsDBCSLeadByteEx(code_page, pair[0]))
        return PLAT_FAILED;
    // A pair the code page does not define is refused here rather than
    // mapped through a default character.
    WCHAR wide[2];
    if (MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, (const char*)pair, 2, wide, 2) != 1)
        return PLAT_FAILED;
    char lower[2];
    if (LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_LOWERCASE, (const char*)pair, 2, lower, 2) != 2 ||
        !IsDBCSLeadByteEx(code_page, (BYTE)lower[0]))
        return PLAT_FAILED;
    pair[0] = (unsigned char)lower[0];
    pair[1] = (unsigned char)lower[1];
    return PLAT_OK;
}
#endif
