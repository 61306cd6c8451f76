// Registry keys as a directory tree below the registry root.
#ifndef _WIN32
#include <dirent.h>
#include <errno.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>

#include "posix_encoding.h"
#include "posix_errno.h"
#include "reg_ini_store.h"
#include "reg_tree.h"

const char REG_VALUES_FILE[] = "values.reg";

static const char* const HIVE_DIRS[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};

std::string reg_escape_name(const std::string& utf8)
{
    static const char HEX[] = "0123456789ABCDEF";
    bool is_values_file = store_compare_nocase(utf8, REG_VALUES_FILE) == 0;
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = (unsigned char)utf8[i];
        bool escape = c == '%' || c == '/' || c < 0x20 || c == 0x7F ||
                      (i == 0 && (c == '.' || is_values_file));
        if (escape) {
            out += '%';
            out += HEX[c >> 4];
            out += HEX[c & 15];
        } else {
            out += (char)c;
        }
    }
    return out;
}

static int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool reg_unescape_name(const char* entry, std::string* utf8)
{
    utf8->clear();
    if (entry[0] == '.' || strcmp(entry, REG_VALUES_FILE) == 0)
        return false;
    for (const char* p = entry; *p; ++p) {
        int high, low;
        if (*p == '%' && (high = hex_digit(p[1])) >= 0 && (low = hex_digit(p[2])) >= 0) {
            *utf8 += (char)(high << 4 | low);
            p += 2;
        } else {
            *utf8 += *p;
        }
    }
    return true;
}

static bool subkey_before(const reg_subkey& a, const reg_subkey& b)
{
    int order = store_compare_nocase(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
}

int reg_list_subkeys(const std::string& dir, std::vector<reg_subkey>* subkeys)
{
    subkeys->clear();
    DIR* listing = opendir(dir.c_str());
    if (listing == NULL)
        return posix_status_from_errno(errno);
    while (struct dirent* entry = readdir(listing)) {
        reg_subkey subkey;
        if (!reg_unescape_name(entry->d_name, &subkey.name))
            continue;
        subkey.dir = dir + "/" + entry->d_name;
        struct stat info;
        if (stat(subkey.dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            subkeys->push_back(subkey);
    }
    closedir(listing);
    std::sort(subkeys->begin(), subkeys->end(), subkey_before);
    return PLAT_OK;
}

// The directory of one hive; it is made when the registry root exists
// without it, since on Windows both hives always exist.
static int hive_dir(plat_root root, std::string* dir)
{
    int status = store_registry_root(dir);
    if (status != PLAT_OK)
        return status;
    struct stat info;
    if (stat(dir->c_str(), &info) != 0)
        return posix_status_from_errno(errno);
    if (!S_ISDIR(info.st_mode))
        return PLAT_NOT_FOUND;
    *dir += "/";
    *dir += HIVE_DIRS[root == PLAT_HKLM ? 1 : 0];
    if (mkdir(dir->c_str(), 0777) != 0 && errno != EEXIST)
        return posix_status_from_errno(errno);
    return PLAT_OK;
}

// The next name of a key path, split at '\' that are whole characters (a
// double-byte character's second byte may be 0x5C).
static std::string next_name(const char** path)
{
    static plat_code_page_info code_page;
    static bool loaded = plat_code_page(&code_page) == PLAT_OK;
    std::string name;
    const char* p = *path;
    while (*p && *p != '\\') {
        if (loaded && code_page.lead[(unsigned char)*p] && p[1])
            name += *p++;
        name += *p++;
    }
    *path = *p ? p + 1 : p;
    return name;
}

int reg_key_dir(plat_root root, const char* path, bool create, std::string* dir)
{
    dir->clear();
    if (path == NULL)
        path = "";
    if (path[0] == '\\')
        return PLAT_BAD_NAME;
    std::string current;
    int status = hive_dir(root, &current);
    if (status != PLAT_OK)
        return status;
    while (*path) {
        std::string name = next_name(&path);
        if (name.empty())
            continue;   // "a\\b" and a trailing '\' name the same key as "a\b"
        std::string utf8;
        status = store_to_utf8(name, &utf8);
        if (status != PLAT_OK)
            return status;
        std::vector<reg_subkey> subkeys;
        status = reg_list_subkeys(current, &subkeys);
        if (status != PLAT_OK)
            return status;
        std::string found;
        for (const reg_subkey& subkey : subkeys) {
            if (store_compare_nocase(subkey.name, utf8) == 0) {
                found = subkey.dir;
                break;
            }
        }
        if (found.empty()) {
            if (!create)
                return PLAT_NOT_FOUND;
            found = current + "/" + reg_escape_name(utf8);
            if (mkdir(found.c_str(), 0777) != 0 && errno != EEXIST)
                return errno == ENAMETOOLONG ? PLAT_BAD_NAME : posix_status_from_errno(errno);
        }
        current = found;
    }
    *dir = current;
    return PLAT_OK;
}
#endif
