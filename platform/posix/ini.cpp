// INI backend: placeholder until the private profile emulation lands.
#ifndef _WIN32
#include "platform.h"

int plat_ini_write(const char*, const char*, const char*, const char*) { return PLAT_FAILED; }
uint32_t plat_ini_read_section(const char*, const char*, char* buffer, uint32_t size)
{
    if (size >= 2) buffer[0] = buffer[1] = '\0';
    return 0;
}
#endif
