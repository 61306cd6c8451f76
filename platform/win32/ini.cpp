// INI backend: the private profile service of Windows.
#ifdef _WIN32
#include "win32_status.h"

int plat_ini_write(const char* file, const char* section, const char* key,
                   const char* value)
{
    if (WritePrivateProfileStringA(section, key, value, file))
        return PLAT_OK;
    return win32_last_status();
}

uint32_t plat_ini_read_section(const char* file, const char* section,
                               char* buffer, uint32_t size)
{
    // An empty list is two zeros; clear what fits so that a failure reads
    // as an empty section.
    for (uint32_t i = 0; i < size && i < 2; ++i)
        buffer[i] = '\0';
    if (size == 0)
        return 0;
    return GetPrivateProfileSectionA(section, buffer, size, file);
}
#endif
