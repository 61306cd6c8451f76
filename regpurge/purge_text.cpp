// Text operations of regpurge. Registry paths are compared and joined byte
// by byte; nothing here needs to know the code page.
#include "purge_text.h"

#include <string.h>

static char fold_ascii(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

bool starts_with_ascii_nocase(const char* text, const char* prefix)
{
    for (; *prefix != '\0'; ++text, ++prefix)
        if (fold_ascii(*text) != fold_ascii(*prefix))
            return false;
    return true;
}

bool bounded_append(char* dst, size_t size, const char* src)
{
    size_t used = strlen(dst);
    size_t extra = strlen(src);
    if (used >= size || extra >= size - used)
        return false;
    memcpy(dst + used, src, extra + 1);
    return true;
}
