// The record builder over arbitrary names against a reference walk of the
// name's characters.
#include <string.h>

#include <string>

#include "fuzz_check.h"
#include "platform.h"
#include "source_name.h"

static plat_code_page_info info;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        plat_code_page(&info);
        ready = true;
    }
    std::string name((const char*)data, strnlen((const char*)data, size));

    // Reference: characters from the start; the base name begins after the
    // last backslash that is a character of its own.
    size_t base = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\')
            base = i + 1;
        else if (info.lead[(unsigned char)name[i]] && i + 1 < name.size())
            ++i;
    }
    if (base < name.size() && name[base] == '.')
        ++base;
    long first = -1, last = -1;
    for (size_t i = base; i < name.size(); ++i) {
        if (name[i] == '.') {
            if (first < 0)
                first = (long)i;
            last = (long)i;
        } else if (info.lead[(unsigned char)name[i]] && i + 1 < name.size()) {
            ++i;
        }
    }
    bool fits = name.size() < TEXT_SIZE;
    bool expected_valid = fits && first > 0;

    source_name record;
    memset(&record, 0xbd, sizeof record);
    bool valid = build_source_name(&record, name.c_str());
    FUZZ_CHECK(valid == expected_valid);
    FUZZ_CHECK(strnlen(record.name, TEXT_SIZE) < TEXT_SIZE);
    FUZZ_CHECK(fits ? name == record.name : record.name[0] == '\0');
    if (valid) {
        FUZZ_CHECK(record.first_dot == first && record.last_dot == last);
        FUZZ_CHECK(record.name[record.first_dot] == '.' && record.name[record.last_dot] == '.');
    }
    // Building from its own name changes nothing.
    if (fits) {
        source_name again = record;
        FUZZ_CHECK(build_source_name(&again, again.name) == valid);
        FUZZ_CHECK(strcmp(again.name, record.name) == 0);
    }
    return 0;
}
