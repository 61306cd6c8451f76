// Output backend: console text and the message box, which on this backend
// is its text as one line on standard error.
#ifndef _WIN32
#include <stdio.h>

#include "platform.h"

void plat_message_box(const char* text) { fprintf(stderr, "%s\n", text); }
void plat_write_stdout(const char* text) { fputs(text, stdout); fflush(stdout); }
void plat_write_stderr(const char* text) { fputs(text, stderr); }
#endif
