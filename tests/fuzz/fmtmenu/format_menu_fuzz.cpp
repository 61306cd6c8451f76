// fmtmenu over arbitrary registry values and format lists. Every block the
// code under test gets is exactly as large as it claims (no slack behind
// it), so any read or write outside it is an AddressSanitizer report.
//
// Input: a flags byte, then either the bytes of a format list block (flag
// 2 clear) or bwpvtex values as records [name length][name][data length]
// [data] (flag 2 set). Flag 1 picks the source. With flags 4, 8 and 16
// clear, a list of up to 8 entries is also written to a scratch registry
// and read back.
//
// Properties: the cut turns ')' and '.' into NUL from the end back to the
// last '(' which becomes '=', and touches nothing before it; a value's
// entry is its cut data up to the first NUL when that lies after the '=';
// each menu entry text is the class digit, the value part lower-cased as
// mb_lower makes it, ':' and the name part as found; Num stops before the
// first entry without '='.
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "format_sources.h"
#include "fuzz_check.h"
#include "fuzz_file.h"
#include "mbtext.h"
#include "menu_writer.h"
#include "platform.h"
#include "reg_ini_store.h"

static plat_code_page_info info;

static const char MENU_KEY_PREFIX[] = "Software\\Corve_Macro\\Quillbay\\FormatMenu\\";

// A heap block of exactly the bytes given.
static std::unique_ptr<char[]> exact_block(const std::string& bytes)
{
    std::unique_ptr<char[]> block(new char[bytes.size()]);
    memcpy(block.get(), bytes.data(), bytes.size());
    return block;
}

static size_t find_at_start(const std::string& s, const char* word)
{
    size_t len = strlen(word);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, len, word) == 0)
            return i;
        if (info.lead[(unsigned char)s[i]] && i + 1 < s.size())
            ++i;
    }
    return std::string::npos;
}

static std::string lowered(const std::string& s)
{
    std::string copy = s;
    mb_lower(&copy[0]);
    return copy;
}

// The class of an entry: WinTeX looks at the lowered name, pTeX2GUI at the
// lowered value, each through its keywords in order.
static int reference_class(int source, const std::string& name, const std::string& value)
{
    static const struct {
        int source;
        int format_class;
        const char* keyword;
    } rows[] = {
        {SOURCE_WINTEX, 1, "big"},    {SOURCE_WINTEX, 1, "ams"},
        {SOURCE_PTEX2GUI, 3, "j"},    {SOURCE_PTEX2GUI, 2, "pdf"},
        {SOURCE_PTEX2GUI, 1, "platex"}, {SOURCE_PTEX2GUI, 1, "ptex"},
    };
    const std::string& text = source == SOURCE_WINTEX ? lowered(name) : lowered(value);
    for (const auto& row : rows)
        if (row.source == source && find_at_start(text, row.keyword) != std::string::npos)
            return row.format_class;
    return 0;
}

// The entries of a list block: up to the first empty one, each terminated
// within the block.
static std::vector<std::string> reference_entries(const std::string& block)
{
    std::vector<std::string> entries;
    size_t at = 0;
    while (at < block.size() && block[at] != '\0') {
        size_t end = block.find('\0', at);
        if (end == std::string::npos)
            break;
        entries.push_back(block.substr(at, end - at));
        at = end + 1;
    }
    return entries;
}

// The menu texts of the entries, up to the first without '='.
static std::vector<std::string> reference_menu(int source, const std::vector<std::string>& entries)
{
    std::vector<std::string> texts;
    for (const std::string& entry : entries) {
        size_t equals = find_at_start(entry, "=");
        if (equals == std::string::npos)
            break;
        std::string name = entry.substr(0, equals);
        std::string value = entry.substr(equals + 1);
        char digit = (char)('0' + reference_class(source, name, value));
        texts.push_back(digit + lowered(value) + ":" + name);
    }
    return texts;
}

static void check_menu_entries(int source, const std::vector<std::string>& entries,
                               const std::vector<std::string>& texts)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        size_t needed = entry.size() + 2;
        std::unique_ptr<char[]> copy = exact_block(entry + '\0');
        std::unique_ptr<char[]> out(new char[needed]);
        bool built = build_menu_entry(source, copy.get(), out.get(), needed);
        FUZZ_CHECK(built == (i < texts.size() || find_at_start(entry, "=") != std::string::npos));
        if (i < texts.size()) {
            FUZZ_CHECK(built && texts[i] == std::string(out.get(), strnlen(out.get(), needed)));
            FUZZ_CHECK(out[texts[i].size()] == '\0');
            // One byte short is refused without a write beyond it.
            copy = exact_block(entry + '\0');
            std::unique_ptr<char[]> short_out(new char[needed - 1]);
            FUZZ_CHECK(!build_menu_entry(source, copy.get(), short_out.get(), needed - 1));
        }
    }
}

static void check_registry_menu(int source, const std::string& block,
                                 const std::vector<std::string>& texts)
{
    std::string key_path = std::string(MENU_KEY_PREFIX) + format_source_name(source);
    // Values of an earlier input must not pass for this one's.
    plat_reg_delete_key(PLAT_HKCU, key_path.c_str());
    plat_key key;
    std::unique_ptr<char[]> list = exact_block(block);
    FUZZ_CHECK(write_format_menu(list.get(), block.size(), source) == MENU_WRITTEN);
    FUZZ_CHECK(plat_reg_open(PLAT_HKCU, key_path.c_str(), &key) == PLAT_OK);
    uint32_t num = 0, type = 0, size = sizeof num;
    FUZZ_CHECK(plat_reg_query_value(key, "Num", &type, &num, &size) == PLAT_OK);
    FUZZ_CHECK(type == PLAT_REG_DWORD && num == texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        char name[12];
        mb_decimal((int)i, name);
        std::unique_ptr<char[]> data(new char[3 * texts[i].size() + 1]);
        size = 3 * (uint32_t)texts[i].size() + 1;
        int status = plat_reg_query_value(key, name, &type, data.get(), &size);
        // A text the code page cannot carry into the store is passed over.
        // The store keeps Unicode, as the Windows registry does: a character
        // with two codes in the code page (932's NEC and IBM rows) comes back
        // in its one preferred code.
        std::string utf8, stored;
        if (store_to_utf8(texts[i], &utf8) != PLAT_OK) {
            FUZZ_CHECK(status == PLAT_NOT_FOUND);
            continue;
        }
        FUZZ_CHECK(store_from_utf8(utf8, &stored) == PLAT_OK);
        FUZZ_CHECK(status == PLAT_OK && type == PLAT_REG_SZ);
        FUZZ_CHECK(size == stored.size() + 1 && memcmp(data.get(), stored.c_str(), size) == 0);
    }
    plat_reg_close(key);
}

struct bwpvtex_value {
    std::string name;
    std::string data;
};

static std::vector<bwpvtex_value> read_records(const uint8_t* data, size_t size)
{
    std::vector<bwpvtex_value> values;
    size_t at = 0;
    while (at < size) {
        bwpvtex_value value;
        size_t name_len = data[at++];
        name_len = name_len < size - at ? name_len : size - at;
        value.name.assign((const char*)data + at, name_len);
        value.name.erase(strnlen(value.name.c_str(), value.name.size()));
        at += name_len;
        size_t data_len = at < size ? data[at++] : 0;
        data_len = data_len < size - at ? data_len : size - at;
        value.data.assign((const char*)data + at, data_len);
        at += data_len;
        values.push_back(value);
    }
    return values;
}

// The cut as the bwpvtex key's texts need it, byte by byte from the end.
static bool reference_cut(std::string* data, size_t* equals_at)
{
    for (size_t i = data->size(); i-- > 0;) {
        if ((*data)[i] == '(') {
            (*data)[i] = '=';
            *equals_at = i;
            return true;
        }
        if ((*data)[i] == ')' || (*data)[i] == '.')
            (*data)[i] = '\0';
    }
    return false;
}

// Builds the list block from the values the way the reader sizes it, and
// checks each step; gives the block.
static std::string build_bwpvtex_block(const std::vector<bwpvtex_value>& values)
{
    size_t longest_name = 0, longest_data = 0;
    for (const bwpvtex_value& value : values) {
        longest_name = value.name.size() > longest_name ? value.name.size() : longest_name;
        longest_data = value.data.size() > longest_data ? value.data.size() : longest_data;
    }
    size_t block_size = values.size() * (longest_name + longest_data + 2) + 2;
    std::unique_ptr<char[]> block(new char[block_size]);
    size_t used = 0;
    for (const bwpvtex_value& value : values) {
        std::unique_ptr<char[]> name = exact_block(value.name + '\0');
        std::unique_ptr<char[]> data = exact_block(value.data);
        size_t before = used;
        int result = append_bwpvtex_value(block.get(), block_size, &used, name.get(), data.get(),
                                          (uint32_t)value.data.size());
        int expected = VALUE_APPENDED;
        std::string cut = value.data;
        size_t equals_at = 0;
        if (value.name.empty() || value.data.size() == 1) {
            expected = VALUE_ENDS_LIST;
            cut = value.data;
        } else if (!reference_cut(&cut, &equals_at)) {
            expected = VALUE_SKIPPED;
        } else {
            size_t end = cut.find('\0');
            if (end == std::string::npos || end < equals_at)
                expected = VALUE_SKIPPED;
            else if (end + 1 >= block_size - before)
                expected = VALUE_ENDS_LIST;
            else
                FUZZ_CHECK(memcmp(block.get() + before, cut.data(), end + 1) == 0 &&
                           used == before + end + 1);
        }
        FUZZ_CHECK(result == expected);
        if (expected != VALUE_APPENDED)
            FUZZ_CHECK(used == before);
        if (!value.name.empty() && value.data.size() != 1)
            FUZZ_CHECK(memcmp(data.get(), cut.data(), cut.size()) == 0);
        if (result == VALUE_ENDS_LIST)
            break;
    }
    // Every appended entry leaves room for the closing NUL.
    FUZZ_CHECK(used < block_size);
    block[used] = '\0';
    return std::string(block.get(), block_size);
}

static void check_cut(const std::string& bytes)
{
    std::unique_ptr<char[]> data = exact_block(bytes);
    size_t equals_at = (size_t)-1;
    bool found = bwpvtex_cut(data.get(), bytes.size(), &equals_at);
    std::string expected = bytes;
    size_t expected_at = (size_t)-1;
    FUZZ_CHECK(found == reference_cut(&expected, &expected_at));
    FUZZ_CHECK(!found || equals_at == expected_at);
    FUZZ_CHECK(memcmp(data.get(), expected.data(), bytes.size()) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        plat_code_page(&info);
        std::string registry = std::string(fuzz_scratch_dir()) + "registry";
        mkdir(registry.c_str(), 0755);
        setenv("QUILLBAY_REGISTRY", registry.c_str(), 1);
        ready = true;
    }
    if (size == 0)
        return 0;
    int source = data[0] & 1 ? SOURCE_PTEX2GUI : SOURCE_WINTEX;
    bool from_values = (data[0] & 2) != 0;
    bool to_registry = (data[0] & 0x1C) == 0;
    std::string rest((const char*)data + 1, size - 1);

    check_cut(rest);
    std::string block = from_values ? build_bwpvtex_block(read_records(data + 1, size - 1)) : rest;

    size_t count = 0, longest = 0;
    std::unique_ptr<char[]> list = exact_block(block);
    measure_format_list(list.get(), block.size(), &count, &longest);
    std::vector<std::string> entries = reference_entries(block);
    FUZZ_CHECK(count == entries.size());
    size_t expected_longest = 0;
    for (const std::string& entry : entries)
        expected_longest = entry.size() > expected_longest ? entry.size() : expected_longest;
    FUZZ_CHECK(longest == expected_longest);

    std::vector<std::string> texts = reference_menu(source, entries);
    check_menu_entries(source, entries, texts);
    // Each entry is a registry write: long lists stay in memory.
    if (to_registry && entries.size() <= 8)
        check_registry_menu(source, block, texts);
    return 0;
}
