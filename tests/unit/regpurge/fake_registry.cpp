// The in-memory stand-ins of the backend's registry and message box.
#include "fake_registry.h"

#include <string.h>

#include <map>

struct plat_key_s {
    std::string path;   // with its root: "HKCU\..."
};

namespace {

std::set<std::string> keys;   // full paths with root, in enumeration order
std::set<std::string> open_failures, query_failures, delete_failures;
std::set<std::pair<std::string, unsigned>> enum_failures;
std::map<std::string, unsigned> overcounts;
std::vector<std::string> calls;
int open_count = 0;
int open_peak = 0;

std::string with_root(plat_root root, const char* path)
{
    std::string full = root == PLAT_HKCU ? "HKCU" : "HKLM";
    if (path[0] != '\0')
        full += std::string("\\") + path;
    return full;
}

std::vector<std::string> children(const std::string& key)
{
    std::vector<std::string> names;
    const std::string prefix = key + "\\";
    for (const std::string& other : keys)
        if (other.compare(0, prefix.size(), prefix) == 0 &&
            other.find('\\', prefix.size()) == std::string::npos)
            names.push_back(other.substr(prefix.size()));
    return names;
}

}  // namespace

namespace fake_registry {

void reset()
{
    keys.clear();
    open_failures.clear();
    query_failures.clear();
    delete_failures.clear();
    enum_failures.clear();
    overcounts.clear();
    calls.clear();
    open_count = open_peak = 0;
}

void add(const std::string& key)
{
    for (size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1))
        keys.insert(key.substr(0, at));
    keys.insert(key);
}

bool exists(const std::string& key) { return keys.count(key) != 0; }
std::set<std::string> all_keys() { return keys; }
void fail_open(const std::string& key) { open_failures.insert(key); }
void fail_query(const std::string& key) { query_failures.insert(key); }
void fail_delete(const std::string& key) { delete_failures.insert(key); }
void fail_enum(const std::string& key, unsigned index) { enum_failures.insert({key, index}); }
void overcount(const std::string& key, unsigned extra) { overcounts[key] = extra; }
const std::vector<std::string>& log() { return calls; }
int most_open() { return open_peak; }
int open_now() { return open_count; }

}  // namespace fake_registry

int plat_reg_open(plat_root root, const char* path, plat_key* key)
{
    *key = NULL;
    std::string full = with_root(root, path);
    calls.push_back("open " + full);
    if (!keys.count(full) || open_failures.count(full))
        return PLAT_NOT_FOUND;
    *key = new plat_key_s{full};
    open_peak = std::max(open_peak, ++open_count);
    return PLAT_OK;
}

void plat_reg_close(plat_key key)
{
    calls.push_back("close " + key->path);
    --open_count;
    delete key;
}

int plat_reg_query_info(plat_key key, uint32_t* subkeys, uint32_t* max_subkey_len, uint32_t* values,
                        uint32_t* max_value_name_len, uint32_t* max_value_data_len)
{
    if (query_failures.count(key->path))
        return PLAT_ACCESS_DENIED;
    std::vector<std::string> names = children(key->path);
    size_t longest = 0;
    for (const std::string& name : names)
        longest = std::max(longest, name.size());
    if (subkeys)
        *subkeys = (uint32_t)(names.size() + overcounts[key->path]);
    if (max_subkey_len)
        *max_subkey_len = (uint32_t)longest;
    if (values)
        *values = 0;
    if (max_value_name_len)
        *max_value_name_len = 0;
    if (max_value_data_len)
        *max_value_data_len = 0;
    return PLAT_OK;
}

// A failing call leaves the slot holding junk, as the real call may.
int plat_reg_enum_key(plat_key key, uint32_t index, char* name, uint32_t* name_len)
{
    std::vector<std::string> names = children(key->path);
    if (enum_failures.count({key->path, index})) {
        memset(name, 'X', *name_len);
        return PLAT_MORE_DATA;
    }
    if (index >= names.size()) {
        memset(name, 'Y', *name_len);
        return PLAT_NO_MORE_ITEMS;
    }
    if (names[index].size() + 1 > *name_len)
        return PLAT_MORE_DATA;
    memcpy(name, names[index].c_str(), names[index].size() + 1);
    *name_len = (uint32_t)names[index].size();
    return PLAT_OK;
}

int plat_reg_delete_key(plat_root root, const char* path)
{
    std::string full = with_root(root, path);
    calls.push_back("delete " + full);
    if (!keys.count(full))
        return PLAT_NOT_FOUND;
    if (delete_failures.count(full) || !children(full).empty())
        return PLAT_ACCESS_DENIED;
    keys.erase(full);
    return PLAT_OK;
}

void plat_message_box(const char* text)
{
    calls.push_back(std::string("box ") + text);
}

// The rest of the registry and output functions, never called by regpurge;
// they are here so that the backend's versions are not linked beside these.
int plat_reg_create(plat_root, const char*, plat_key* key) { *key = NULL; return PLAT_FAILED; }
int plat_reg_query_value(plat_key, const char*, uint32_t*, void*, uint32_t*) { return PLAT_FAILED; }
int plat_reg_enum_value(plat_key, uint32_t, char*, uint32_t*, uint32_t*, void*, uint32_t*) { return PLAT_FAILED; }
int plat_reg_set_value(plat_key, const char*, uint32_t, const void*, uint32_t) { return PLAT_FAILED; }
int plat_reg_delete_value(plat_key, const char*) { return PLAT_FAILED; }
void plat_write_stdout(const char*) {}
void plat_write_stderr(const char*) {}
