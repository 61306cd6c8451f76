// The engine's argument list: the program, the options, the format option
// before the first word that is not an option, TeX command strings, and
// each source file as its long name with forward slashes.
#ifndef RAVICK_ENGINE_ARGS_H
#define RAVICK_ENGINE_ARGS_H

#include "messages.h"
#include "mbtext.h"
#include "source_name.h"

// Room for the program and 14 more arguments, and the NULL that ends them.
enum { ENGINE_ARGS_SIZE = 16 };

struct engine_args {
    const char* entry[ENGINE_ARGS_SIZE];
    // The normalised source file arguments the entries point at; each keeps
    // its own long name, so several source files all reach the engine.
    char source_text[ENGINE_ARGS_SIZE][TEXT_SIZE];
};

// Builds the list from the engine path, the pending format option (NULL for
// none) and the command-line words from word 3 on. The last source file
// argument becomes the source record (its name empty when there is none),
// with forward slashes. Fails with "Failed to get long filename." or, when
// the list would hold more than ENGINE_ARGS_SIZE - 1 entries, with "Too
// long argument strings.".
ravick_message build_engine_args(engine_args* args, const char* engine_path,
                                 const char* pending_format,
                                 const char* const* words, int word_count,
                                 source_name* source);

#endif
