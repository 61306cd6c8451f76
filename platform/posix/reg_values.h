// Internal to the posix backend: the values of one registry key, kept in
// the key directory's values file with one value a line in the syntax of a
// REGEDIT4 export:
//   "Name"="text"        a string with its terminator ('\' and '"' escaped)
//   @=...                the unnamed default value
//   "Name"=dword:0000000a
//   "Name"=hex:01,02     binary data
//   "Name"=hex(7):...    any other type, or a string the quoted form cannot
//                        carry (no terminator, zeros or line ends inside)
// Names and string data are UTF-8 in the file (as a user edits it), bytes of
// other types as they are. Lines are kept sorted by name without regard to
// case, the order in which Windows enumerates values.
#ifndef QUILLBAY_REG_VALUES_H
#define QUILLBAY_REG_VALUES_H
#ifndef _WIN32

#include <stdint.h>

#include <string>
#include <vector>

struct reg_value {
    std::string name;   // UTF-8; empty for the default value
    uint32_t type;
    std::string data;   // UTF-8 for the string types, else the bytes
};

bool reg_is_string_type(uint32_t type);

// One line of the values file, without its line end; false for a line that
// holds no value (a header, a comment, a broken line).
bool reg_parse_value(const std::string& line, reg_value* value);
std::string reg_format_value(const reg_value& value);

// The values of the key in dir; no values file is no values.
int reg_load_values(const std::string& dir, std::vector<reg_value>* values);
// Replaces the values file (removes it when no value is left).
int reg_save_values(const std::string& dir, const std::vector<reg_value>& values);

// The index of the named value, or -1.
long reg_find_value(const std::vector<reg_value>& values, const std::string& name);
// Replaces the value of that name or adds it at its sorted place.
void reg_put_value(std::vector<reg_value>* values, const reg_value& value);

#endif
#endif
