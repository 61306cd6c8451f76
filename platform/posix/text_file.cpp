// Text-mode file reading: placeholder over stdio until the real reader lands.
#ifndef _WIN32
#include <stdio.h>

#include "platform.h"

int plat_text_open(const char* path, plat_text_file* file)
{
    FILE* f = fopen(path, "r");
    *file = (plat_text_file)f;
    return f ? PLAT_OK : PLAT_NOT_FOUND;
}
int plat_text_gets(plat_text_file file, char* buffer, int size) { return fgets(buffer, size, (FILE*)file) != NULL; }
void plat_text_close(plat_text_file file) { fclose((FILE*)file); }
#endif
