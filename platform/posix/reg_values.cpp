// The values file of a registry key: REGEDIT4 value lines, read and written
// whole.
#ifndef _WIN32
#include <errno.h>
#include <stdio.h>
#include <unistd.h>

#include "platform.h"
#include "posix_errno.h"
#include "reg_ini_store.h"
#include "reg_tree.h"
#include "reg_values.h"

bool reg_is_string_type(uint32_t type)
{
    return type == PLAT_REG_SZ || type == PLAT_REG_EXPAND_SZ || type == PLAT_REG_MULTI_SZ;
}

namespace {

void skip_blanks(const std::string& s, size_t* at)
{
    while (*at < s.size() && (s[*at] == ' ' || s[*at] == '\t'))
        ++*at;
}

// A quoted text with \\ and \" as its only escapes; false when unclosed.
bool parse_quoted(const std::string& s, size_t* at, std::string* text)
{
    text->clear();
    if (*at >= s.size() || s[*at] != '"')
        return false;
    for (size_t i = *at + 1; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            *text += s[++i];
        } else if (s[i] == '"') {
            *at = i + 1;
            return true;
        } else {
            *text += s[i];
        }
    }
    return false;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

int hex_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hex digits up to max_digits at *at; false when there are none.
bool parse_number(const std::string& s, size_t* at, int max_digits, uint32_t* number)
{
    *number = 0;
    int digits = 0;
    while (*at < s.size() && digits < max_digits && hex_value(s[*at]) >= 0) {
        *number = *number << 4 | (uint32_t)hex_value(s[(*at)++]);
        ++digits;
    }
    return digits > 0;
}

// "01,02,ff": comma-separated bytes, blanks allowed around them.
bool parse_bytes(const std::string& s, size_t at, std::string* bytes)
{
    bytes->clear();
    skip_blanks(s, &at);
    while (at < s.size()) {
        uint32_t byte;
        if (!parse_number(s, &at, 2, &byte))
            return false;
        *bytes += (char)byte;
        skip_blanks(s, &at);
        if (at < s.size() && s[at] == ',') {
            ++at;
            skip_blanks(s, &at);
        } else if (at < s.size()) {
            return false;
        }
    }
    return true;
}

bool starts_with(const std::string& s, size_t at, const char* prefix)
{
    return s.compare(at, std::string(prefix).size(), prefix) == 0;
}

bool value_before(const std::string& a, const std::string& b)
{
    int order = store_compare_nocase(a, b);
    return order != 0 ? order < 0 : a < b;
}

}  // namespace

bool reg_parse_value(const std::string& line, reg_value* value)
{
    size_t at = 0;
    skip_blanks(line, &at);
    if (at < line.size() && line[at] == '@') {
        value->name.clear();
        ++at;
    } else if (!parse_quoted(line, &at, &value->name)) {
        return false;
    }
    skip_blanks(line, &at);
    if (at >= line.size() || line[at++] != '=')
        return false;
    skip_blanks(line, &at);
    if (at < line.size() && line[at] == '"') {
        if (!parse_quoted(line, &at, &value->data))
            return false;
        value->type = PLAT_REG_SZ;
        value->data.push_back('\0');
        skip_blanks(line, &at);
        return at == line.size();
    }
    if (starts_with(line, at, "dword:")) {
        at += 6;
        uint32_t number;
        if (!parse_number(line, &at, 8, &number))
            return false;
        skip_blanks(line, &at);
        value->type = PLAT_REG_DWORD;
        value->data.clear();
        for (int i = 0; i < 4; ++i)
            value->data += (char)(number >> (8 * i) & 0xFF);
        return at == line.size();
    }
    if (starts_with(line, at, "hex:")) {
        value->type = PLAT_REG_BINARY;
        return parse_bytes(line, at + 4, &value->data);
    }
    if (starts_with(line, at, "hex(")) {
        at += 4;
        if (!parse_number(line, &at, 8, &value->type) || !starts_with(line, at, "):"))
            return false;
        return parse_bytes(line, at + 2, &value->data);
    }
    return false;
}

std::string reg_format_value(const reg_value& value)
{
    std::string line = value.name.empty() ? "@" : quoted(value.name);
    line += "=";
    const std::string& data = value.data;
    if (value.type == PLAT_REG_SZ && !data.empty() && data.find('\0') == data.size() - 1 &&
        data.find_first_of("\r\n") == std::string::npos)
        return line + quoted(data.substr(0, data.size() - 1));
    char text[16];
    if (value.type == PLAT_REG_DWORD && data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | (unsigned char)data[(size_t)i];
        snprintf(text, sizeof text, "dword:%08x", number);
        return line + text;
    }
    if (value.type == PLAT_REG_BINARY) {
        line += "hex:";
    } else {
        snprintf(text, sizeof text, "hex(%x):", value.type);
        line += text;
    }
    for (size_t i = 0; i < data.size(); ++i) {
        snprintf(text, sizeof text, i == 0 ? "%02x" : ",%02x", (unsigned char)data[i]);
        line += text;
    }
    return line;
}

int reg_load_values(const std::string& dir, std::vector<reg_value>* values)
{
    values->clear();
    std::string bytes;
    int status = store_read_file((dir + "/" + REG_VALUES_FILE).c_str(), &bytes);
    if (status == PLAT_NOT_FOUND)
        return PLAT_OK;
    if (status != PLAT_OK)
        return status;
    std::string line;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string piece = bytes.substr(start, end - start);
        start = end + 1;
        if (!piece.empty() && piece.back() == '\r')
            piece.pop_back();
        // A long hex list may go on over several lines, each but the last
        // ending in '\'.
        if (!line.empty()) {
            size_t first = piece.find_first_not_of(" \t");
            piece = first == std::string::npos ? "" : piece.substr(first);
        }
        line += piece;
        if (!line.empty() && line.back() == '\\' && start < bytes.size()) {
            line.pop_back();
            continue;
        }
        reg_value value;
        if (reg_parse_value(line, &value))
            reg_put_value(values, value);
        line.clear();
    }
    return PLAT_OK;
}

int reg_save_values(const std::string& dir, const std::vector<reg_value>& values)
{
    std::string path = dir + "/" + REG_VALUES_FILE;
    if (values.empty()) {
        if (unlink(path.c_str()) != 0 && errno != ENOENT)
            return posix_status_from_errno(errno);
        return PLAT_OK;
    }
    std::string text;
    for (const reg_value& value : values)
        text += reg_format_value(value) + "\n";
    return store_write_file(path.c_str(), text);
}

long reg_find_value(const std::vector<reg_value>& values, const std::string& name)
{
    for (size_t i = 0; i < values.size(); ++i)
        if (store_compare_nocase(values[i].name, name) == 0)
            return (long)i;
    return -1;
}

void reg_put_value(std::vector<reg_value>* values, const reg_value& value)
{
    long found = reg_find_value(*values, value.name);
    if (found >= 0) {
        // The value keeps the spelling it was created with, as a key does.
        (*values)[(size_t)found].type = value.type;
        (*values)[(size_t)found].data = value.data;
        return;
    }
    size_t at = 0;
    while (at < values->size() && value_before((*values)[at].name, value.name))
        ++at;
    values->insert(values->begin() + (long)at, value);
}
#endif
