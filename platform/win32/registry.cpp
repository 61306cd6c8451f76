// Registry backend: the ANSI registry functions, every key opened with all
// access rights. A plat_key is the HKEY itself.
#ifdef _WIN32
#include "win32_status.h"

static HKEY root_key(plat_root root)
{
    return root == PLAT_HKLM ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

static const char* or_empty(const char* text)
{
    return text != NULL ? text : "";
}

int plat_reg_open(plat_root root, const char* path, plat_key* key)
{
    *key = NULL;
    HKEY opened = NULL;
    LONG error = RegOpenKeyExA(root_key(root), or_empty(path), 0, KEY_ALL_ACCESS, &opened);
    if (error != ERROR_SUCCESS)
        return win32_status((DWORD)error);
    *key = (plat_key)opened;
    return PLAT_OK;
}

int plat_reg_create(plat_root root, const char* path, plat_key* key)
{
    *key = NULL;
    HKEY created = NULL;
    LONG error = RegCreateKeyExA(root_key(root), or_empty(path), 0, NULL, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, NULL, &created, NULL);
    if (error != ERROR_SUCCESS)
        return win32_status((DWORD)error);
    *key = (plat_key)created;
    return PLAT_OK;
}

void plat_reg_close(plat_key key)
{
    if (key != NULL)
        RegCloseKey((HKEY)key);
}

int plat_reg_query_value(plat_key key, const char* name, uint32_t* type,
                         void* data, uint32_t* size)
{
    DWORD value_type = REG_NONE;
    DWORD value_size = size != NULL ? *size : 0;
    LONG error = RegQueryValueExA((HKEY)key, name, NULL, &value_type, (BYTE*)data,
                                  size != NULL ? &value_size : NULL);
    if (type != NULL)
        *type = error == ERROR_SUCCESS || error == ERROR_MORE_DATA ? value_type : REG_NONE;
    if (size != NULL)
        *size = error == ERROR_SUCCESS || error == ERROR_MORE_DATA ? value_size : 0;
    return win32_status((DWORD)error);
}

int plat_reg_query_info(plat_key key, uint32_t* subkeys,
                        uint32_t* max_subkey_len, uint32_t* values,
                        uint32_t* max_value_name_len,
                        uint32_t* max_value_data_len)
{
    DWORD counts[5] = {0, 0, 0, 0, 0};
    LONG error = RegQueryInfoKeyA((HKEY)key, NULL, NULL, NULL, &counts[0], &counts[1], NULL,
                                  &counts[2], &counts[3], &counts[4], NULL, NULL);
    if (error != ERROR_SUCCESS)
        for (DWORD& count : counts)
            count = 0;
    uint32_t* outputs[5] = {subkeys, max_subkey_len, values, max_value_name_len,
                            max_value_data_len};
    for (int i = 0; i < 5; ++i)
        if (outputs[i] != NULL)
            *outputs[i] = counts[i];
    return win32_status((DWORD)error);
}

int plat_reg_enum_value(plat_key key, uint32_t index, char* name,
                        uint32_t* name_len, uint32_t* type, void* data,
                        uint32_t* data_len)
{
    DWORD name_capacity = *name_len;
    if (name_capacity > 0)
        name[0] = '\0';
    DWORD value_type = REG_NONE;
    DWORD data_size = data_len != NULL ? *data_len : 0;
    LONG error = RegEnumValueA((HKEY)key, index, name, &name_capacity, NULL, &value_type,
                               (BYTE*)data, data_len != NULL ? &data_size : NULL);
    bool filled = error == ERROR_SUCCESS || error == ERROR_MORE_DATA;
    *name_len = filled ? name_capacity : 0;
    if (type != NULL)
        *type = filled ? value_type : REG_NONE;
    if (data_len != NULL)
        *data_len = filled ? data_size : 0;
    return win32_status((DWORD)error);
}

int plat_reg_enum_key(plat_key key, uint32_t index, char* name,
                      uint32_t* name_len)
{
    DWORD name_capacity = *name_len;
    if (name_capacity > 0)
        name[0] = '\0';
    LONG error = RegEnumKeyExA((HKEY)key, index, name, &name_capacity, NULL, NULL, NULL, NULL);
    *name_len = error == ERROR_SUCCESS || error == ERROR_MORE_DATA ? name_capacity : 0;
    return win32_status((DWORD)error);
}

int plat_reg_set_value(plat_key key, const char* name, uint32_t type,
                       const void* data, uint32_t size)
{
    LONG error = RegSetValueExA((HKEY)key, name, 0, type, (const BYTE*)data, size);
    return win32_status((DWORD)error);
}

int plat_reg_delete_key(plat_root root, const char* path)
{
    return win32_status((DWORD)RegDeleteKeyA(root_key(root), or_empty(path)));
}

int plat_reg_delete_value(plat_key key, const char* name)
{
    return win32_status((DWORD)RegDeleteValueA((HKEY)key, name));
}
#endif
