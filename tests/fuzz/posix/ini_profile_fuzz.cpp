// INI files of the posix backend over arbitrary file bytes, with one write
// of a section, key and value taken from the input.
//
// Input: [flags][section length][key length][value length], the section,
// key and value texts, then the file bytes. The texts are made into names
// a program would write: no line ends or NULs, no blanks at either end
// (the service trims those), a key without '=' that does not begin as a
// section header, a comment or a byte-order mark does, a value with no
// line end.
//
// Properties, for every file: nothing is read or written outside a caller's
// block, however small; a list that does not fit is its first bytes closed
// with two zeros. For a file that the service reads back as it writes it
// (a nameless section or a name ending at a NUL after a blank is not):
// the write changes exactly one line, the key's first line in the
// section's first occurrence, or adds it at the section's end, or adds the
// section at the end of the file; read back, the section lists the key with
// the new value and every other key with its old one, and other sections
// keep their lists.
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_file.h"
#include "ini_profile.h"
#include "platform.h"
#include "reg_ini_store.h"

static bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

static std::string clean_text(const std::string& raw, bool is_key)
{
    std::string text = raw;
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\0' || (is_key && c == '='))
            c = 'x';
    if (!text.empty() && is_blank(text[0]))
        text[0] = 'x';
    if (!text.empty() && is_blank(text.back()))
        text.back() = 'x';
    if (is_key && !text.empty() && (text[0] == '[' || text[0] == ';'))
        text[0] = 'k';
    // Nor may a key begin with the bytes of a UTF-8 byte-order mark: written
    // as the file's first line, it would read back as the mark.
    if (is_key && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text[0] = 'k';
    return text;
}

static bool same_line(const ini_line& a, const ini_line& b)
{
    return a.name == b.name && a.has_value == b.has_value && (!a.has_value || a.value == b.value);
}

static bool same_profile(const ini_profile& a, const ini_profile& b)
{
    if (a.utf8_mark != b.utf8_mark || a.sections.size() != b.sections.size())
        return false;
    for (size_t i = 0; i < a.sections.size(); ++i) {
        const ini_section& x = a.sections[i];
        const ini_section& y = b.sections[i];
        if (x.name != y.name || x.lines.size() != y.lines.size())
            return false;
        for (size_t j = 0; j < x.lines.size(); ++j)
            if (!same_line(x.lines[j], y.lines[j]))
                return false;
    }
    return true;
}

// The profile with the one line the write should change or add.
static ini_profile expected_after_write(const ini_profile& before, const std::string& section,
                                        const std::string& key, const std::string& value)
{
    ini_profile after = before;
    ini_line written = {key, value, true};
    for (ini_section& s : after.sections) {
        if (!store_equal_ansi_nocase(s.name, section))
            continue;
        for (ini_line& line : s.lines) {
            if (store_equal_ansi_nocase(line.name, key)) {
                line.value = value;
                line.has_value = true;
                return after;
            }
        }
        s.lines.push_back(written);
        return after;
    }
    ini_section added;
    added.name = section;
    added.lines.push_back(written);
    after.sections.push_back(added);
    return after;
}

static std::vector<std::string> split_list(const char* block, uint32_t count)
{
    std::vector<std::string> entries;
    for (uint32_t at = 0; at < count;) {
        std::string entry(block + at);
        entries.push_back(entry);
        at += (uint32_t)entry.size() + 1;
    }
    return entries;
}

// A section list as the platform call gives it: the count it returns and
// the bytes it wrote up to the closing zero.
struct section_list {
    uint32_t count;
    std::string raw;
};

// Reads a section through the platform call into an exactly sized block.
static std::vector<std::string> read_list(const char* file, const std::string& section,
                                          section_list* raw)
{
    const uint32_t size = 1 << 16;
    std::unique_ptr<char[]> block(new char[size]);
    uint32_t count = plat_ini_read_section(file, section.c_str(), block.get(), size);
    FUZZ_CHECK(count < size - 2);
    FUZZ_CHECK(block[count] == '\0' && (count == 0 || block[count - 1] == '\0'));
    // Every listed line has a name or an '=': no string in it is empty.
    FUZZ_CHECK(count == 0 || block[0] != '\0');
    for (uint32_t i = 1; i < count; ++i)
        FUZZ_CHECK(block[i] != '\0' || block[i - 1] != '\0');
    raw->count = count;
    raw->raw = std::string(block.get(), count == 0 ? 2 : count + 1);
    return split_list(block.get(), count);
}

// A small block gets the list's first bytes and two closing zeros.
static void check_small_read(const char* file, const std::string& section, uint32_t size,
                             const section_list& list)
{
    std::unique_ptr<char[]> block(new char[size == 0 ? 1 : size]);
    uint32_t count = plat_ini_read_section(file, section.c_str(), block.get(), size);
    const std::string& full = list.raw;
    const uint32_t full_count = list.count;
    if (full.size() < size) {
        FUZZ_CHECK(count == full_count && memcmp(block.get(), full.data(), full.size()) == 0);
    } else if (full_count == 0 || size < 2) {
        FUZZ_CHECK(count == 0);
    } else {
        FUZZ_CHECK(count == size - 2);
        FUZZ_CHECK(memcmp(block.get(), full.data(), size - 2) == 0);
        FUZZ_CHECK(block[size - 2] == '\0' && block[size - 1] == '\0');
    }
}

static std::string entry_name(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    size_t at = 4;
    std::string texts[3];
    for (int i = 0; i < 3; ++i) {
        size_t length = data[1 + i] % 32;
        length = length < size - at ? length : size - at;
        texts[i].assign((const char*)data + at, length);
        at += length;
    }
    const std::string section = clean_text(texts[0], false);
    const std::string key = clean_text(texts[1], true);
    const std::string value = clean_text(texts[2], false);
    const std::string bytes((const char*)data + at, size - at);

    ini_profile before;
    ini_parse(bytes, &before);
    ini_profile reread;
    ini_parse(ini_serialize(before), &reread);
    const bool stable = same_profile(before, reread);

    // In memory: the write changes exactly the expected line.
    ini_profile written = before;
    bool changed = ini_apply_write(&written, section.c_str(), key.c_str(), value.c_str());
    ini_profile after;
    ini_parse(ini_serialize(written), &after);
    if (stable) {
        ini_profile expected = expected_after_write(before, section, key, value);
        FUZZ_CHECK(same_profile(after, expected));
        FUZZ_CHECK(changed == !same_profile(before, expected));
    }

    // Through the platform calls on a scratch file.
    const char* file = fuzz_write_file("fz.ini", data + at, size - at);
    std::string other_section = before.sections[data[0] % before.sections.size()].name;
    section_list raw_before, raw_other_before, raw_after, raw_other_after;
    std::vector<std::string> list_before = read_list(file, section, &raw_before);
    std::vector<std::string> other_before = read_list(file, other_section, &raw_other_before);
    check_small_read(file, section, data[0] % 64, raw_before);

    FUZZ_CHECK(plat_ini_write(file, section.c_str(), key.c_str(), value.c_str()) == PLAT_OK);
    std::vector<std::string> list_after = read_list(file, section, &raw_after);
    std::vector<std::string> other_after = read_list(file, other_section, &raw_other_after);
    check_small_read(file, section, data[0] % 64, raw_after);
    if (!stable)
        return 0;

    std::vector<std::string> expected_list = list_before;
    bool found = false;
    for (std::string& entry : expected_list) {
        if (store_equal_ansi_nocase(entry_name(entry), key)) {
            entry = entry_name(entry) + "=" + value;
            found = true;
            break;
        }
    }
    if (!found)
        expected_list.push_back(key + "=" + value);
    FUZZ_CHECK(list_after == expected_list);
    if (!store_equal_ansi_nocase(other_section, section))
        FUZZ_CHECK(other_after == other_before);
    return 0;
}
