// Console output and the message box. The programs write ANSI text; the
// terminal reads UTF-8. The message box has no window here: its text is one
// line on standard error.
#ifndef _WIN32
#include <stdio.h>
#include <string.h>

#include <vector>

#include "platform.h"
#include "posix_encoding.h"

namespace {

// Writes text converted to UTF-8; bytes that are no text of the code page
// go out as they are rather than being lost.
void write_converted(FILE* stream, const char* text)
{
    std::vector<char> utf8(strlen(text) * 3 + 1);
    if (posix_to_utf8(text, utf8.data(), utf8.size()) == PLAT_OK)
        fputs(utf8.data(), stream);
    else
        fputs(text, stream);
    fflush(stream);
}

}  // namespace

void plat_message_box(const char* text)
{
    write_converted(stderr, text);
    fputs("\n", stderr);
    fflush(stderr);
}

void plat_write_stdout(const char* text) { write_converted(stdout, text); }

void plat_write_stderr(const char* text) { write_converted(stderr, text); }
#endif
