// Output backend: console text and the message box.
#ifdef _WIN32
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "win32_status.h"

// Test seam: a message box waits for a click that no automated run can
// give. With QUILLBAY_MESSAGE_BOX=stderr its text goes to standard error as
// one line instead, which also reaches the caller's pipe from a
// window-subsystem program started by Wine.
static bool message_box_to_stderr()
{
    const char* target = getenv("QUILLBAY_MESSAGE_BOX");
    return target != NULL && strcmp(target, "stderr") == 0;
}

void plat_message_box(const char* text)
{
    if (message_box_to_stderr()) {
        fputs(text, stderr);
        fputs("\n", stderr);
        fflush(stderr);
        return;
    }
    MessageBoxA(NULL, text, NULL, MB_OK);
}

void plat_write_stdout(const char* text)
{
    fputs(text, stdout);
    fflush(stdout);
}

void plat_write_stderr(const char* text)
{
    fputs(text, stderr);
    fflush(stderr);
}
#endif
