#include "status_file.h"

#include <string.h>

#include "platform.h"

const char MACRO_CONFIG_KEY[] = "Software\\Corve_Macro\\Quillbay\\MacroConfig";
const char MACRO_DIR_VALUE[] = "MacroDir";
const char STATUS_FILE_TAIL[] = "\\dyndata.ini";

const char SECTION_MODULE_CMD[] = "ModuleCmd";
const char SECTION_ERROR_HOOK[] = "Error_Hook";
const char SECTION_PROJECT_INFO[] = "CurrentProjectInfo";
const char KEY_RETURN_VIRTEX[] = "return_virtex";
const char KEY_REQUIRE_APPS[] = "require_apps";
const char KEY_ERROR_FILE_NAME[] = "Error_FileName";
const char KEY_ERROR_LINE[] = "Error_Line";
const char KEY_EXEC_FLAG[] = "Exec_Flag";
const char KEY_SHORT_NAME[] = "ShortName";
const char KEY_SHORT_NAME_OLD[] = "ShortName_Old";

bool locate_status_file(char path[TEXT_SIZE])
{
    plat_key key;
    if (plat_reg_open(PLAT_HKCU, MACRO_CONFIG_KEY, &key) != PLAT_OK)
        return false;
    // Read into a scratch text so that a failed read leaves the caller's
    // buffer as it was; one byte more than the text holds keeps a value
    // without its terminator from running past the end.
    char value[TEXT_SIZE + 1];
    uint32_t size = TEXT_SIZE;
    int status = plat_reg_query_value(key, MACRO_DIR_VALUE, NULL, value, &size);
    plat_reg_close(key);
    if (status != PLAT_OK)
        return false;
    value[size < (uint32_t)TEXT_SIZE ? size : (uint32_t)TEXT_SIZE] = '\0';
    // The value is taken as text whatever its type; it ends at its first
    // zero. A directory too long for the status file name is no directory.
    char located[TEXT_SIZE];
    if (!mb_copy(located, sizeof located, value) ||
        !mb_append(located, sizeof located, STATUS_FILE_TAIL))
        return false;
    memcpy(path, located, strlen(located) + 1);
    return true;
}

void write_status_text(const char* status_path, const char* section,
                       const char* key, const char* value)
{
    plat_ini_write(status_path, section, key, value);
}

void write_status_number(const char* status_path, const char* section,
                         const char* key, int value)
{
    char text[12];
    mb_decimal(value, text);
    write_status_text(status_path, section, key, text);
}

int write_result(int result)
{
    char status_path[TEXT_SIZE];
    if (locate_status_file(status_path))
        write_status_number(status_path, SECTION_MODULE_CMD, KEY_RETURN_VIRTEX, result);
    return result;
}
