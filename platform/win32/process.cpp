// Process backend: arguments, the environment and child processes, all
// through the C run-time, whose rules the programs are written against.
#ifdef _WIN32
#include <errno.h>
#include <process.h>
#include <stdlib.h>

#include "win32_status.h"

// The C run-time has already split the command line by its own rules, in
// the ANSI code page: nothing to convert.
int plat_start(int*, char***)
{
    return PLAT_OK;
}

// The run-time's getenv compares names without regard to case, as Windows
// does.
int plat_env_present(const char* name)
{
    return getenv(name) != NULL;
}

int plat_env_put(const char* assignment)
{
    errno = 0;
    if (_putenv(assignment) == 0)
        return PLAT_OK;
    return win32_errno_status(errno);
}

int plat_spawn_wait(const char* program, const char* const* argv)
{
    // _spawnvp tries .com, .exe, .bat and .cmd and searches PATH, and joins
    // argv with blanks exactly as given. It returns the child's exit code,
    // so -1 is a failure only when errno says so.
    errno = 0;
    intptr_t result = _spawnvp(_P_WAIT, program, argv);
    if (result == -1 && errno != 0)
        return win32_errno_status(errno);
    return PLAT_OK;
}
#endif
