// The private profile rules on an in-memory INI file: how lines are read,
// matched, changed and written back.
#ifndef _WIN32
#include <string.h>

#include "ini_profile.h"
#include "reg_ini_store.h"

namespace {

const char UTF8_MARK[] = "\xEF\xBB\xBF";

// The profile service counts Ctrl-Z as a blank too, so a DOS end-of-file
// mark at the end of a line or file disappears with the other blanks.
bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string trim_left(const std::string& s)
{
    size_t start = 0;
    while (start < s.size() && is_blank(s[start]))
        ++start;
    return s.substr(start);
}

std::string trim(const std::string& s)
{
    std::string t = trim_left(s);
    size_t end = t.size();
    while (end > 0 && is_blank(t[end - 1]))
        --end;
    return t.substr(0, end);
}

// Names and values end at a zero byte, as the zero-terminated strings the
// service keeps them in do.
std::string up_to_zero(const std::string& s)
{
    return s.substr(0, s.find('\0'));
}

void parse_line(const std::string& raw, ini_profile* profile)
{
    std::string line = trim(raw);
    if (line.empty())
        return;
    if (line[0] == '[') {
        // The name runs to the last ']'; text after it is dropped.
        size_t close = line.rfind(']');
        if (close != std::string::npos && close > 0) {
            ini_section section;
            section.name = up_to_zero(trim(line.substr(1, close - 1)));
            profile->sections.push_back(section);
            return;
        }
    }
    ini_line entry;
    size_t equals = line.find('=');
    entry.has_value = equals != std::string::npos;
    if (entry.has_value) {
        entry.name = up_to_zero(trim(line.substr(0, equals)));
        entry.value = up_to_zero(trim_left(line.substr(equals + 1)));
    } else {
        entry.name = up_to_zero(line);
    }
    profile->sections.back().lines.push_back(entry);
}

bool same_name(const std::string& a, const std::string& b)
{
    return store_equal_ansi_nocase(a, b);
}

// Blanks before and after a name given to a write do not count when it is
// looked up; a name created from it keeps the blanks after it.
std::string trim_for_match(const char* name)
{
    return trim(name);
}

bool delete_section(ini_profile* profile, const char* section)
{
    for (size_t i = 0; i < profile->sections.size(); ++i) {
        if (same_name(profile->sections[i].name, section)) {
            profile->sections.erase(profile->sections.begin() + (long)i);
            return true;
        }
    }
    return false;
}

bool delete_key(ini_profile* profile, const char* section, const char* key)
{
    for (ini_section& s : profile->sections) {
        if (!same_name(s.name, section))
            continue;
        for (size_t i = 0; i < s.lines.size(); ++i) {
            if (same_name(s.lines[i].name, key)) {
                s.lines.erase(s.lines.begin() + (long)i);
                return true;
            }
        }
    }
    return false;
}

// The line for section/key: the first match, else a new key at the end of
// the first matching section, else a new section at the end of the file.
ini_line* find_or_add(ini_profile* profile, const char* section, const char* key)
{
    std::string section_match = trim_for_match(section);
    std::string key_match = trim_for_match(key);
    ini_section* found = NULL;
    for (ini_section& s : profile->sections) {
        if (same_name(s.name, section_match)) {
            found = &s;
            break;
        }
    }
    if (found == NULL) {
        ini_section added;
        added.name = trim_left(section);
        profile->sections.push_back(added);
        found = &profile->sections.back();
    }
    for (ini_line& line : found->lines)
        if (same_name(line.name, key_match))
            return &line;
    ini_line added;
    added.name = trim_left(key);
    added.has_value = false;
    found->lines.push_back(added);
    return &found->lines.back();
}

}  // namespace

void ini_parse(const std::string& bytes, ini_profile* profile)
{
    profile->sections.clear();
    profile->sections.push_back(ini_section());
    size_t start = 0;
    profile->utf8_mark = bytes.compare(0, 3, UTF8_MARK) == 0;
    if (profile->utf8_mark)
        start = 3;
    // A line ends at CR or at LF alike; the empty line between CR and LF
    // is dropped as every blank line is.
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = bytes.size();
        parse_line(bytes.substr(start, end - start), profile);
        start = end + 1;
    }
}

std::string ini_serialize(const ini_profile& profile)
{
    std::string out = profile.utf8_mark ? UTF8_MARK : "";
    for (const ini_section& section : profile.sections) {
        // A nameless section has no header to write.
        if (!section.name.empty())
            out += "[" + section.name + "]\r\n";
        for (const ini_line& line : section.lines) {
            out += line.name;
            if (line.has_value)
                out += "=" + line.value;
            out += "\r\n";
        }
    }
    return out;
}

bool ini_apply_write(ini_profile* profile, const char* section, const char* key,
                     const char* value)
{
    if (key == NULL)
        return delete_section(profile, section);
    if (value == NULL)
        return delete_key(profile, section, key);
    ini_line* line = find_or_add(profile, section, key);
    std::string new_value = trim_left(value);
    if (line->has_value && line->value == new_value)
        return false;
    line->value = new_value;
    line->has_value = true;
    return true;
}

uint32_t ini_copy_section(const ini_profile& profile, const char* section,
                          char* buffer, uint32_t size)
{
    // The whole block first: each line as one zero-terminated string, then
    // the closing zero. Comment lines are not part of it, nor a line with
    // neither name nor '=' (one that begins with a NUL): its empty string
    // would end the list for every reader.
    if (buffer == NULL)
        return 0;
    std::string block;
    for (const ini_section& s : profile.sections) {
        if (!same_name(s.name, section))
            continue;
        for (const ini_line& line : s.lines) {
            if (!line.name.empty() && line.name[0] == ';')
                continue;
            if (line.name.empty() && !line.has_value)
                continue;
            block += line.name;
            if (line.has_value)
                block += "=" + line.value;
            block.push_back('\0');
        }
        break;
    }
    block.push_back('\0');
    uint32_t count = (uint32_t)block.size() - 1;

    if (count == 0 || size < 2) {
        // An empty list, or no room for any list: never beyond size bytes.
        memset(buffer, 0, size < 2 ? size : 2);
        return 0;
    }
    if (block.size() < size) {
        memcpy(buffer, block.data(), block.size());
        return count;
    }
    // It does not fit (or fills the buffer to the last byte, which the
    // service reports the same way): the block is cut at size bytes and
    // closed with two zeros, so the last string may be cut short.
    memcpy(buffer, block.data(), size);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}
#endif
