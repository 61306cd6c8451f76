// Code-page-aware text operations against a byte-by-byte reference walk:
// searches never match at a second byte, conversions never touch one, and
// lower-casing keeps the length and lowers each character as one unit.
#include <string.h>

#include <string>
#include <vector>

#include "fuzz_check.h"
#include "mbtext.h"
#include "platform.h"

static plat_code_page_info info;

// Start offsets of the characters of s.
static std::vector<size_t> boundaries(const std::string& s)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i) {
        starts.push_back(i);
        if (info.lead[(unsigned char)s[i]] && i + 1 < s.size())
            ++i;
    }
    return starts;
}

static bool is_pair(const std::string& s, size_t i)
{
    return info.lead[(unsigned char)s[i]] && i + 1 < s.size();
}

static void check_search(const std::string& s, const std::vector<size_t>& starts)
{
    static const char probes[] = {'\\', '/', '.', '~', '=', '%', '1'};
    for (char c : probes) {
        long first = -1, last = -1;
        for (size_t i : starts) {
            if (s[i] == c) {
                if (first < 0)
                    first = (long)i;
                last = (long)i;
            }
        }
        const char* found = mb_find(s.c_str(), c);
        FUZZ_CHECK(found ? found - s.c_str() == first : first < 0);
        found = mb_find_last(s.c_str(), c);
        FUZZ_CHECK(found ? found - s.c_str() == last : last < 0);
    }
}

static void check_word(const std::string& s, const std::string& word,
                       const std::vector<size_t>& starts)
{
    long expected = word.empty() ? 0 : -1;
    for (size_t i : starts) {
        if (!word.empty() && s.compare(i, word.size(), word) == 0) {
            expected = (long)i;
            break;
        }
    }
    const char* found = mb_find_word(s.c_str(), word.c_str());
    FUZZ_CHECK(found ? found - s.c_str() == expected : expected < 0);
}

static void check_slashes(const std::string& s, bool to_forward)
{
    std::string converted = s;
    mb_convert_slashes(&converted[0], to_forward);
    const char from = to_forward ? '\\' : '/';
    const char to = to_forward ? '/' : '\\';
    for (size_t i = 0; i < s.size(); ++i) {
        if (is_pair(s, i)) {
            FUZZ_CHECK(converted[i] == s[i] && converted[i + 1] == s[i + 1]);
            ++i;
        } else {
            FUZZ_CHECK(converted[i] == (s[i] == from ? to : s[i]));
        }
    }
}

static void check_lower(const std::string& s)
{
    std::string lowered = s;
    bool complete = mb_lower(&lowered[0]);
    FUZZ_CHECK(strlen(lowered.c_str()) == s.size());
    bool stopped = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (is_pair(s, i)) {
            unsigned char pair[2] = {(unsigned char)s[i], (unsigned char)s[i + 1]};
            if (!stopped && plat_lower_double_byte(pair) != PLAT_OK)
                stopped = true;
            if (stopped) {
                pair[0] = (unsigned char)s[i];
                pair[1] = (unsigned char)s[i + 1];
            }
            FUZZ_CHECK((unsigned char)lowered[i] == pair[0] &&
                       (unsigned char)lowered[i + 1] == pair[1]);
            ++i;
        } else {
            unsigned char c = (unsigned char)s[i];
            FUZZ_CHECK((unsigned char)lowered[i] == (stopped ? c : info.lower[c]));
        }
    }
    FUZZ_CHECK(complete == !stopped);
}

static void check_bounded_copy(const std::string& s, size_t size)
{
    char buffer[TEXT_SIZE + 16];
    memset(buffer, 0xbd, sizeof buffer);
    if (size > 0)
        buffer[0] = '\0';
    bool fits = mb_copy(buffer, size, s.c_str());
    FUZZ_CHECK(fits == (size > 0 && s.size() < size));
    for (size_t i = size; i < sizeof buffer; ++i)
        FUZZ_CHECK((unsigned char)buffer[i] == 0xbd);
    if (fits)
        FUZZ_CHECK(s == buffer);
    else if (size > 0)
        FUZZ_CHECK(buffer[0] == '\0');
    size_t before = strnlen(buffer, size);
    bool appended = size > 0 && mb_append(buffer, size, s.c_str());
    FUZZ_CHECK(appended == (size > 0 && before + s.size() < size));
    for (size_t i = size; i < sizeof buffer; ++i)
        FUZZ_CHECK((unsigned char)buffer[i] == 0xbd);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        plat_code_page(&info);
        ready = true;
    }
    if (size == 0)
        return 0;
    // First byte: the copy size and the word length; the rest up to the
    // first zero is the text, a 0x01 byte in it splits off the word.
    size_t copy_size = data[0] % (TEXT_SIZE + 1);
    std::string text((const char*)data + 1, strnlen((const char*)data + 1, size - 1));
    std::string word;
    size_t split = text.find('\x01');
    if (split != std::string::npos) {
        word = text.substr(split + 1, 1 + data[0] % 4);
        text.erase(split);
    }
    std::vector<size_t> starts = boundaries(text);
    check_search(text, starts);
    check_word(text, word, starts);
    check_slashes(text, true);
    check_slashes(text, false);
    check_lower(text);
    check_bounded_copy(text, copy_size);
    return 0;
}
