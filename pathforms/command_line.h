// The command line of pathforms: an optional -d with the result file name,
// then the file whose path forms are wanted.
#ifndef QUILLBAY_PATHFORMS_COMMAND_LINE_H
#define QUILLBAY_PATHFORMS_COMMAND_LINE_H

#include "mbtext.h"

struct pathforms_request {
    char result_file[TEXT_SIZE];
    const char* file_argument;   // NULL when no file follows the option
};

// Fills the request from argv and returns PATHFORMS_OK, or the code that
// ends the run before anything is written (1, 2 or 3). Without -d the
// result file is the program's own path with "ini" after its last '.'.
int read_command_line(int argc, char** argv, pathforms_request* request);

#endif
