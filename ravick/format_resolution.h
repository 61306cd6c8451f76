// Choosing the program to run: the engine named on the command line, or a
// format's own program installed beside it ("virtex_dir\format.exe"), which
// then needs no format option.
#ifndef RAVICK_FORMAT_RESOLUTION_H
#define RAVICK_FORMAT_RESOLUTION_H

#include "messages.h"
#include "mbtext.h"

// The format name inside format_opt, after its "&", "-fmt=" or "-progname="
// prefix; NULL when format_opt has none of them, or names no format.
const char* format_name_of(const char* format_opt);

enum format_result {
    FORMAT_REPLACED,          // engine_path names the format's program
    FORMAT_NOT_REPLACED,      // engine_path names the engine
    FORMAT_ENGINE_NOT_FOUND   // no engine; engine_path is empty
};

// Completes the engine path (a bare name is searched for) and replaces it
// by the format's program when the engine's directory holds one. Either
// way the engine path's last separator comes out as a backslash.
format_result resolve_format(char engine_path[TEXT_SIZE], const char* format_name);

// The whole step: the engine path from virtex, and the format option still
// to be handed to the engine (NULL when the format's program replaced it).
ravick_message resolve_engine(const char* virtex, const char* format_opt,
                              char engine_path[TEXT_SIZE],
                              const char** pending_format);

#endif
