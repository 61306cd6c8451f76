// Internal to the posix backend: registry keys as directories. Below the
// registry root, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE; below them one
// directory per key, named by the key's name in UTF-8 with the bytes that
// cannot or must not appear in a directory name escaped as %XX. Names are
// matched without regard to case and keep the case they were created with.
#ifndef QUILLBAY_REG_TREE_H
#define QUILLBAY_REG_TREE_H
#ifndef _WIN32

#include <string>
#include <vector>

#include "platform.h"

// The name of a key's values file inside its directory.
extern const char REG_VALUES_FILE[];

// The directory name for a key name (UTF-8), and back. '%', '/', control
// bytes and a leading '.' are escaped, so "." and ".." cannot climb out of
// the tree and no key can look like the values file or a temporary file.
std::string reg_escape_name(const std::string& utf8);
// False for a directory entry that is no key (the values file, a dot file).
bool reg_unescape_name(const char* entry, std::string* utf8);

// The directory of root\path (an ANSI path, '\' between names, empty names
// skipped, no leading '\'). With create, missing keys are made on the way.
// PLAT_NOT_FOUND for a missing key or registry root, PLAT_BAD_NAME for a
// name the code page or the file system cannot carry.
int reg_key_dir(plat_root root, const char* path, bool create, std::string* dir);

struct reg_subkey {
    std::string name;   // UTF-8
    std::string dir;
};

// The sub-keys of a key directory in the order Windows enumerates them:
// sorted by their lower-cased names.
int reg_list_subkeys(const std::string& dir, std::vector<reg_subkey>* subkeys);

#endif
#endif
