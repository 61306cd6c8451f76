// The floor under the directive scan: reads a file in the scan's 259-byte
// text-mode pieces through the platform layer and does nothing with them.
#include <stdio.h>

#include "platform.h"

int main(int argc, char** argv)
{
    if (plat_start(&argc, &argv) != PLAT_OK || argc < 2)
        return 2;
    plat_text_file file;
    if (plat_text_open(argv[1], &file) != PLAT_OK)
        return 1;
    char piece[260];
    long pieces = 0;
    while (plat_text_gets(file, piece, sizeof piece))
        ++pieces;
    plat_text_close(file);
    printf("%ld\n", pieces);
    return 0;
}
