// Running the engine: the TEXEDIT edit command that reports a TeX error back
// through tavlet, the run in the source file's directory, and the verdict
// of its log.
#ifndef RAVICK_ENGINE_RUN_H
#define RAVICK_ENGINE_RUN_H

#include "messages.h"
#include "mbtext.h"
#include "source_name.h"

// Builds "TEXEDIT=\"<macro dir>\tools\tavlet\" %s %d" from the status file
// path; with KSH_NEC_WIN95 present every backslash of the value becomes
// '/', for a Unix-like shell. Fails with "Failed to find dyndata.ini." when
// the status file cannot be located or the assignment would not fit.
ravick_message build_texedit(char assignment[TEXT_SIZE]);

// Puts TEXEDIT into the environment, switches to the directory of the
// source name (forward slashes; no switch without a '/'), runs the engine
// with argv (ending with NULL), waits for it and switches back. Fails
// silently when the directory cannot be entered, or with the message of
// the start failure.
ravick_message run_engine(const char* assignment, const char* const* argv,
                          char source_name_text[TEXT_SIZE]);

// The run result once the engine has run: 0 without a source name, else
// the log verdict of the source (its slashes turned back first).
int run_verdict(source_name* source);

#endif
