// A tiny program that shows how Wine hands a Windows program its
// surroundings: the ANSI code page, the arguments as split by the C
// run-time, standard input, output and error, and the exit code. Built once
// as a console and once as a window-subsystem program by check-wine.sh.
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv)
{
    printf("acp=%u\n", GetACP());
    for (int i = 1; i < argc; ++i)
        printf("arg%d=[%s]\n", i, argv[i]);
    char line[128];
    if (fgets(line, sizeof line, stdin) != NULL)
        printf("stdin=[%s]\n", line);
    fflush(stdout);
    fputs("to stderr\n", stderr);
    fflush(stderr);
    const char* code = getenv("PROBE_EXIT");
    return code != NULL ? atoi(code) : 0;
}
