// Process backend: placeholder until native child processes land.
#ifndef _WIN32
#include <stdlib.h>

#include "platform.h"

int plat_start(int*, char***) { return PLAT_OK; }
int plat_env_present(const char* name) { return getenv(name) != NULL; }
int plat_env_put(const char*) { return PLAT_FAILED; }
int plat_spawn_wait(const char*, const char* const*) { return PLAT_FAILED; }
#endif
