#include "fuzz_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

const char* fuzz_scratch_dir()
{
    static char dir[64];
    if (dir[0] == '\0') {
        snprintf(dir, sizeof dir, "/tmp/qbfuzz-%ld/", (long)getpid());
        char command[96];
        snprintf(command, sizeof command, "mkdir -p %s", dir);
        if (system(command) != 0)
            abort();
    }
    return dir;
}

const char* fuzz_write_file(const char* name, const uint8_t* data, size_t size)
{
    static char path[256];
    snprintf(path, sizeof path, "%s%s", fuzz_scratch_dir(), name);
    FILE* file = fopen(path, "wb");
    if (file == NULL)
        abort();
    if (size != 0 && fwrite(data, 1, size, file) != size)
        abort();
    fclose(file);
    return path;
}
