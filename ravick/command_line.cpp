#include "command_line.h"

#include <stdint.h>
#include <string.h>

static const char HELP_OPTION[] = "-help";

command_kind classify_command_line(int argc, const char* const* argv)
{
    int arguments = argc - 1;
    if (arguments <= 0)
        return COMMAND_USAGE;
    if (arguments <= 2)
        return mb_equal_nocase(argv[1], HELP_OPTION, SIZE_MAX) ? COMMAND_HELP
                                                               : COMMAND_INVALID;
    return COMMAND_RUN;
}

void copy_program_name(char program[TEXT_SIZE], const char* word0)
{
    size_t used = 0;
    for (;;) {
        size_t step = mb_char_len(word0 + used);
        if (step == 0 || used + step > TEXT_SIZE - 1)
            break;
        used += step;
    }
    memcpy(program, word0, used);
    program[used] = '\0';
}
