// The registry's values files of the posix backend over arbitrary bytes.
//
// Properties: every line the parser takes formats into a line that parses
// into the same value and formats the same again; a values file loads,
// saves and loads again into the same values in the same order, and saving
// those writes the same bytes; a loaded file holds no two values whose
// names differ only in case.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_file.h"
#include "platform.h"
#include "reg_ini_store.h"
#include "reg_tree.h"
#include "reg_values.h"

static bool same_value(const reg_value& a, const reg_value& b)
{
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

static bool same_values(const std::vector<reg_value>& a, const std::vector<reg_value>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!same_value(a[i], b[i]))
            return false;
    return true;
}

static void check_lines(const std::string& bytes)
{
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        reg_value value;
        if (reg_parse_value(bytes.substr(start, end - start), &value)) {
            std::string line = reg_format_value(value);
            reg_value again;
            FUZZ_CHECK(reg_parse_value(line, &again));
            FUZZ_CHECK(same_value(value, again));
            FUZZ_CHECK(reg_format_value(again) == line);
        }
        start = end + 1;
    }
}

static std::string read_values_file(const std::string& dir)
{
    std::string bytes;
    int status = store_read_file((dir + "/" + REG_VALUES_FILE).c_str(), &bytes);
    FUZZ_CHECK(status == PLAT_OK || status == PLAT_NOT_FOUND);
    return bytes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::string first_dir, second_dir;
    if (first_dir.empty()) {
        first_dir = std::string(fuzz_scratch_dir()) + "first";
        second_dir = std::string(fuzz_scratch_dir()) + "second";
        mkdir(first_dir.c_str(), 0755);
        mkdir(second_dir.c_str(), 0755);
    }
    std::string bytes((const char*)data, size);
    check_lines(bytes);

    fuzz_write_file((std::string("first/") + REG_VALUES_FILE).c_str(), data, size);
    std::vector<reg_value> loaded;
    FUZZ_CHECK(reg_load_values(first_dir, &loaded) == PLAT_OK);
    for (size_t i = 0; i < loaded.size(); ++i)
        for (size_t j = i + 1; j < loaded.size(); ++j)
            FUZZ_CHECK(store_compare_nocase(loaded[i].name, loaded[j].name) != 0);

    FUZZ_CHECK(reg_save_values(second_dir, loaded) == PLAT_OK);
    std::string saved = read_values_file(second_dir);
    std::vector<reg_value> reloaded;
    FUZZ_CHECK(reg_load_values(second_dir, &reloaded) == PLAT_OK);
    FUZZ_CHECK(same_values(loaded, reloaded));
    FUZZ_CHECK(reg_save_values(second_dir, reloaded) == PLAT_OK);
    FUZZ_CHECK(read_values_file(second_dir) == saved);
    return 0;
}
