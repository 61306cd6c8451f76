// The registry as a directory tree: RegOpenKeyExA and its companions over
// key directories and their values files. Names and string data cross here
// between the programs' code page and the UTF-8 of the files.
#ifndef _WIN32
#include <errno.h>
#include <string.h>
#include <unistd.h>

#include <new>
#include <string>
#include <vector>

#include "platform.h"
#include "posix_errno.h"
#include "reg_ini_store.h"
#include "reg_tree.h"
#include "reg_values.h"

struct plat_key_s {
    std::string dir;
};

namespace {

int open_key(plat_root root, const char* path, bool create, plat_key* key)
{
    if (key == NULL)
        return PLAT_FAILED;
    *key = NULL;
    std::string dir;
    int status = reg_key_dir(root, path, create, &dir);
    if (status != PLAT_OK)
        return status;
    plat_key opened = new (std::nothrow) plat_key_s;
    if (opened == NULL)
        return PLAT_NO_MEMORY;
    opened->dir = dir;
    *key = opened;
    return PLAT_OK;
}

// A value name as the values file holds it; NULL is the default value.
int file_name_of(const char* name, std::string* utf8)
{
    if (name == NULL || *name == '\0') {
        utf8->clear();
        return PLAT_OK;
    }
    return store_to_utf8(name, utf8);
}

// A value's data as the program sees it.
int program_data(const reg_value& value, std::string* data)
{
    if (!reg_is_string_type(value.type)) {
        *data = value.data;
        return PLAT_OK;
    }
    return store_from_utf8(value.data, data);
}

// Copies data to the caller. A string stored without its terminator is
// returned as stored, with a zero behind it when the buffer has room for
// one, as Windows does.
void copy_data(uint32_t type, const std::string& data, void* out, uint32_t capacity)
{
    memcpy(out, data.data(), data.size());
    if (reg_is_string_type(type) && !data.empty() && data.back() != '\0' && data.size() < capacity)
        ((char*)out)[data.size()] = '\0';
}

// The key's values, with the key itself required to exist still.
int load_values(plat_key key, std::vector<reg_value>* values)
{
    if (access(key->dir.c_str(), F_OK) != 0)
        return posix_status_from_errno(errno);
    return reg_load_values(key->dir, values);
}

// Loads the key's values and finds the one named name: *index is its
// position in values.
int find_named_value(plat_key key, const char* name, std::vector<reg_value>* values,
                     size_t* index)
{
    std::string wanted;
    int status = file_name_of(name, &wanted);
    if (status != PLAT_OK)
        return status;
    status = load_values(key, values);
    if (status != PLAT_OK)
        return status;
    long found = reg_find_value(*values, wanted);
    if (found < 0)
        return PLAT_NOT_FOUND;
    *index = (size_t)found;
    return PLAT_OK;
}

}  // namespace

int plat_reg_open(plat_root root, const char* path, plat_key* key)
{
    return open_key(root, path, false, key);
}

int plat_reg_create(plat_root root, const char* path, plat_key* key)
{
    return open_key(root, path, true, key);
}

void plat_reg_close(plat_key key)
{
    delete key;
}

int plat_reg_query_value(plat_key key, const char* name, uint32_t* type,
                         void* data, uint32_t* size)
{
    if (type != NULL)
        *type = PLAT_REG_NONE;
    if (key == NULL || (data != NULL && size == NULL))
        return PLAT_FAILED;
    std::vector<reg_value> values;
    size_t index;
    int status = find_named_value(key, name, &values, &index);
    if (status != PLAT_OK)
        return status;
    const reg_value& value = values[index];
    std::string bytes;
    status = program_data(value, &bytes);
    if (status != PLAT_OK)
        return status;
    if (type != NULL)
        *type = value.type;
    if (size == NULL)
        return PLAT_OK;
    uint32_t capacity = *size;
    *size = (uint32_t)bytes.size();
    if (data == NULL)
        return PLAT_OK;
    if (capacity < bytes.size())
        return PLAT_MORE_DATA;
    copy_data(value.type, bytes, data, capacity);
    return PLAT_OK;
}

int plat_reg_query_info(plat_key key, uint32_t* subkeys,
                        uint32_t* max_subkey_len, uint32_t* values,
                        uint32_t* max_value_name_len,
                        uint32_t* max_value_data_len)
{
    if (key == NULL)
        return PLAT_FAILED;
    std::vector<reg_subkey> keys;
    int status = reg_list_subkeys(key->dir, &keys);
    std::vector<reg_value> list;
    if (status == PLAT_OK)
        status = load_values(key, &list);
    if (status != PLAT_OK)
        return status;
    // Windows counts name lengths in UTF-16 characters and string data in
    // UTF-16 bytes, whatever the code page of the caller.
    uint32_t longest_key = 0, longest_name = 0, largest_data = 0;
    for (const reg_subkey& subkey : keys) {
        uint32_t length = (uint32_t)store_utf16_units(subkey.name);
        if (length > longest_key)
            longest_key = length;
    }
    for (const reg_value& value : list) {
        uint32_t length = (uint32_t)store_utf16_units(value.name);
        uint32_t bytes = reg_is_string_type(value.type) ? 2 * (uint32_t)store_utf16_units(value.data)
                                                        : (uint32_t)value.data.size();
        if (length > longest_name)
            longest_name = length;
        if (bytes > largest_data)
            largest_data = bytes;
    }
    if (subkeys != NULL) *subkeys = (uint32_t)keys.size();
    if (max_subkey_len != NULL) *max_subkey_len = longest_key;
    if (values != NULL) *values = (uint32_t)list.size();
    if (max_value_name_len != NULL) *max_value_name_len = longest_name;
    if (max_value_data_len != NULL) *max_value_data_len = largest_data;
    return PLAT_OK;
}

int plat_reg_enum_value(plat_key key, uint32_t index, char* name,
                        uint32_t* name_len, uint32_t* type, void* data,
                        uint32_t* data_len)
{
    if (key == NULL || name == NULL || name_len == NULL || (data != NULL && data_len == NULL))
        return PLAT_FAILED;
    if (*name_len > 0)
        name[0] = '\0';
    std::vector<reg_value> values;
    int status = load_values(key, &values);
    if (status != PLAT_OK)
        return status;
    if (index >= values.size())
        return PLAT_NO_MORE_ITEMS;
    const reg_value& value = values[index];
    std::string program_name, bytes;
    status = store_from_utf8(value.name, &program_name);
    if (status == PLAT_OK)
        status = program_data(value, &bytes);
    if (status != PLAT_OK)
        return status;
    // Whatever is too small, the caller learns every size it needs and
    // gets neither name nor data.
    uint32_t name_capacity = *name_len;
    uint32_t data_capacity = data_len != NULL ? *data_len : 0;
    *name_len = (uint32_t)program_name.size();
    if (data_len != NULL)
        *data_len = (uint32_t)bytes.size();
    if (type != NULL)
        *type = value.type;
    if (name_capacity < program_name.size() + 1 || (data != NULL && data_capacity < bytes.size()))
        return PLAT_MORE_DATA;
    memcpy(name, program_name.c_str(), program_name.size() + 1);
    if (data != NULL)
        copy_data(value.type, bytes, data, data_capacity);
    return PLAT_OK;
}

int plat_reg_enum_key(plat_key key, uint32_t index, char* name,
                      uint32_t* name_len)
{
    if (key == NULL || name == NULL || name_len == NULL)
        return PLAT_FAILED;
    if (*name_len > 0)
        name[0] = '\0';
    std::vector<reg_subkey> keys;
    int status = reg_list_subkeys(key->dir, &keys);
    if (status != PLAT_OK)
        return status;
    if (index >= keys.size())
        return PLAT_NO_MORE_ITEMS;
    std::string program_name;
    status = store_from_utf8(keys[index].name, &program_name);
    if (status != PLAT_OK)
        return status;
    uint32_t capacity = *name_len;
    *name_len = (uint32_t)program_name.size();
    if (capacity < program_name.size() + 1)
        return PLAT_MORE_DATA;
    memcpy(name, program_name.c_str(), program_name.size() + 1);
    return PLAT_OK;
}

int plat_reg_set_value(plat_key key, const char* name, uint32_t type,
                       const void* data, uint32_t size)
{
    if (key == NULL || (data == NULL && size > 0))
        return PLAT_FAILED;
    reg_value value;
    value.type = type;
    int status = file_name_of(name, &value.name);
    if (status != PLAT_OK)
        return status;
    std::string bytes((const char*)data, data != NULL ? size : 0);
    if (reg_is_string_type(type))
        status = store_to_utf8(bytes, &value.data);
    else
        value.data = bytes;
    if (status != PLAT_OK)
        return status;
    std::vector<reg_value> values;
    status = load_values(key, &values);
    if (status != PLAT_OK)
        return status;
    reg_put_value(&values, value);
    return reg_save_values(key->dir, values);
}

int plat_reg_delete_key(plat_root root, const char* path)
{
    std::string dir;
    int status = reg_key_dir(root, path, false, &dir);
    if (status != PLAT_OK)
        return status;
    std::string hive;
    reg_key_dir(root, "", false, &hive);
    if (dir == hive)
        return PLAT_ACCESS_DENIED;   // a hive itself cannot be deleted
    std::vector<reg_subkey> keys;
    status = reg_list_subkeys(dir, &keys);
    if (status != PLAT_OK)
        return status;
    if (!keys.empty())
        return PLAT_ACCESS_DENIED;   // as Windows refuses while sub-keys remain
    if (unlink((dir + "/" + REG_VALUES_FILE).c_str()) != 0 && errno != ENOENT)
        return posix_status_from_errno(errno);
    if (rmdir(dir.c_str()) != 0)
        return errno == ENOTEMPTY || errno == EEXIST ? PLAT_ACCESS_DENIED : posix_status_from_errno(errno);
    return PLAT_OK;
}

int plat_reg_delete_value(plat_key key, const char* name)
{
    if (key == NULL)
        return PLAT_FAILED;
    std::vector<reg_value> values;
    size_t index;
    int status = find_named_value(key, name, &values, &index);
    if (status != PLAT_OK)
        return status;
    values.erase(values.begin() + (long)index);
    return reg_save_values(key->dir, values);
}
#endif
