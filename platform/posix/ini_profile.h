// Internal to the posix backend: an INI file held in memory the way Windows'
// private profile service (as Wine implements it) holds it. Loading keeps
// every section and key line but drops blank lines, trims blanks around
// names, '=' and values, and reduces a section header to its name; saving
// writes the lines back in order with CR LF line ends. What survives a
// rewrite is therefore exactly what this structure holds.
#ifndef QUILLBAY_INI_PROFILE_H
#define QUILLBAY_INI_PROFILE_H
#ifndef _WIN32

#include <stdint.h>

#include <string>
#include <vector>

struct ini_line {
    std::string name;    // a comment line (';') is a key like any other
    std::string value;
    bool has_value;      // false for a line without '='
};

struct ini_section {
    std::string name;    // empty for the lines before the first header
    std::vector<ini_line> lines;
};

struct ini_profile {
    bool utf8_mark;      // the file began with a UTF-8 byte-order mark
    std::vector<ini_section> sections;   // the nameless one always first
};

void ini_parse(const std::string& bytes, ini_profile* profile);
std::string ini_serialize(const ini_profile& profile);

// WritePrivateProfileString on the profile: key NULL deletes the section,
// value NULL deletes the key, otherwise the key is set (found or created).
// Returns whether anything changed: an unchanged profile is not written.
bool ini_apply_write(ini_profile* profile, const char* section, const char* key,
                     const char* value);

// GetPrivateProfileSection over the profile into buffer (size bytes).
uint32_t ini_copy_section(const ini_profile& profile, const char* section,
                          char* buffer, uint32_t size);

#endif
#endif
