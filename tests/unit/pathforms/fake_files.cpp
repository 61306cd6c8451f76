// The in-memory stand-ins of the backend's file naming and INI functions.
#include "fake_files.h"

#include <string.h>

#include <map>

#include "mbtext.h"
#include "platform.h"

namespace {

struct entry {
    uint32_t attributes;
    std::string name;
    std::string short_name;
};

std::map<std::string, entry> entries;   // by ASCII-lower-cased full path
std::vector<ini_write> recorded;
std::string module_path;

std::string folded(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c + 32);
    return out;
}

void add_entry(const std::string& path, uint32_t attributes, const std::string& short_name,
               const std::string& stored_name)
{
    std::string name = stored_name;
    if (name.empty())
        name = mb_find_last(path.c_str(), '\\') + 1;
    entries[folded(path)] = entry{attributes, name, short_name};
}

}  // namespace

namespace fake_files {

void reset()
{
    entries.clear();
    recorded.clear();
    module_path = "c:\\tools\\pathforms.exe";
}

void add_directory(const std::string& path, const std::string& short_name,
                   const std::string& stored_name)
{
    add_entry(path, PLAT_ATTR_DIRECTORY, short_name, stored_name);
}

void add_file(const std::string& path, const std::string& short_name)
{
    add_entry(path, 0x20, short_name, "");
}

void set_module_path(const std::string& path) { module_path = path; }

const std::vector<ini_write>& writes() { return recorded; }

}  // namespace fake_files

// A relative name is completed against c:\; the text is not checked
// against the disk, as the real service does not.
int plat_full_path(const char* name, char* out, size_t out_size, size_t* last_component)
{
    if (out_size != 0)
        out[0] = '\0';
    *last_component = (size_t)-1;
    if (name[0] == '\0')
        return PLAT_FAILED;
    bool absolute = (strlen(name) >= 2 && name[1] == ':') || strncmp(name, "\\\\", 2) == 0;
    std::string full = absolute ? name : std::string("c:\\") + name;
    if (full.size() >= out_size)
        return PLAT_MORE_DATA;
    memcpy(out, full.c_str(), full.size() + 1);
    mb_convert_slashes(out, false);
    const char* separator = mb_find_last(out, '\\');
    if (separator != NULL && separator[1] != '\0')
        *last_component = (size_t)(separator + 1 - out);
    return PLAT_OK;
}

int plat_find_entry(const char* path, plat_find_data* found)
{
    memset(found, 0, sizeof *found);
    auto it = entries.find(folded(path));
    if (it == entries.end())
        return PLAT_NOT_FOUND;
    found->attributes = it->second.attributes;
    mb_copy(found->name, sizeof found->name, it->second.name.c_str());
    mb_copy(found->short_name, sizeof found->short_name, it->second.short_name.c_str());
    return PLAT_OK;
}

int plat_module_path(char* out, size_t out_size)
{
    out[0] = '\0';
    if (module_path.empty() || !mb_copy(out, out_size, module_path.c_str()))
        return PLAT_FAILED;
    return PLAT_OK;
}

int plat_ini_write(const char* file, const char* section, const char* key, const char* value)
{
    recorded.push_back(ini_write{file, section, key, value});
    return PLAT_OK;
}

// The rest of the file and INI functions, never called by pathforms; they
// are here so that the backend's versions are not linked beside these.
uint32_t plat_ini_read_section(const char*, const char*, char* buffer, uint32_t size)
{
    if (size >= 2)
        buffer[0] = buffer[1] = '\0';
    return 0;
}
int plat_search_path(const char*, const char*, const char*, char* out, size_t out_size, size_t*)
{
    if (out_size != 0)
        out[0] = '\0';
    return PLAT_NOT_FOUND;
}
int plat_current_dir(char* out, size_t out_size) { return mb_copy(out, out_size, "c:\\") ? PLAT_OK : PLAT_MORE_DATA; }
int plat_set_current_dir(const char*) { return PLAT_FAILED; }
int plat_file_time(const char*, int64_t*) { return PLAT_NOT_FOUND; }
