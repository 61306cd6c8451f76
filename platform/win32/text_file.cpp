// Text file reader: the C run-time's own text mode, which turns CR LF into
// LF and stops at a Ctrl-Z.
#ifdef _WIN32
#include <errno.h>
#include <stdio.h>

#include "win32_status.h"

int plat_text_open(const char* path, plat_text_file* file)
{
    *file = NULL;
    FILE* stream = fopen(path, "rt");
    if (stream == NULL)
        return win32_errno_status(errno);
    *file = (plat_text_file)stream;
    return PLAT_OK;
}

int plat_text_gets(plat_text_file file, char* buffer, int size)
{
    if (size <= 0)
        return 0;
    buffer[0] = '\0';
    if (file == NULL)
        return 0;
    if (fgets(buffer, size, (FILE*)file) == NULL) {
        buffer[0] = '\0';
        return 0;
    }
    return 1;
}

void plat_text_close(plat_text_file file)
{
    if (file != NULL)
        fclose((FILE*)file);
}
#endif
