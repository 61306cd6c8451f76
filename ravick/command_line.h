// ravick's own reading of its command line: help, usage or a run.
#ifndef RAVICK_COMMAND_LINE_H
#define RAVICK_COMMAND_LINE_H

#include "mbtext.h"

enum command_kind {
    COMMAND_RUN,      // three or more arguments: virtex format_opt words...
    COMMAND_HELP,     // "-help" as the first of one or two arguments
    COMMAND_USAGE,    // no argument at all
    COMMAND_INVALID   // one or two arguments, the first not "-help"
};

// argc and argv as main receives them, argv[0] being the program.
command_kind classify_command_line(int argc, const char* const* argv);

// Copies command-line word 0 into the program name. A word too long for it
// is cut at the last whole character that fits.
void copy_program_name(char program[TEXT_SIZE], const char* word0);

#endif
