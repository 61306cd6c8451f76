#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "format_sources.h"

TEST(FormatSources, ArgumentSelectsSourceWithAsciiCaseFolded)
{
    static const struct {
        const char* argument;
        int source_index;
    } cases[] = {
        {"WinTeX", SOURCE_WINTEX},
        {"wintex", SOURCE_WINTEX},
        {"WINTEX", SOURCE_WINTEX},
        {"pTeX2GUI", SOURCE_PTEX2GUI},
        {"ptex2gui", SOURCE_PTEX2GUI},
        {" WinTeX", -1},
        {"WinTeX ", -1},
        {"Win", -1},
        {"WinTeXs", -1},
        {"", -1},
        {"pTeX2GUI\xa0", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(find_format_source(c.argument), c.source_index) << '"' << c.argument << '"';
    // The menu key always takes the table's spelling.
    EXPECT_STREQ(format_source_name(SOURCE_WINTEX), "WinTeX");
    EXPECT_STREQ(format_source_name(SOURCE_PTEX2GUI), "pTeX2GUI");
}

// One value as the registry hands it: its data bytes, and what follows them
// in the work area, which the reader must neither read nor change.
struct value_case {
    const char* what;
    const char* name;
    std::string data;
    int result;
    std::string entry;   // appended, with its NUL, when result is VALUE_APPENDED
};

static const std::string TRAILER(")\0)\xbd", 4);

TEST(FormatSources, ValueBecomesEntryWithinItsOwnBytes)
{
    const value_case cases[] = {
        {"string", "1", std::string("pLaTeX (platex.fmt)\0", 20), VALUE_APPENDED,
         std::string("pLaTeX =platex\0", 15)},
        {"last '(' wins", "1", std::string("A(B)(c.d)\0", 10), VALUE_APPENDED,
         std::string("A(B)=c\0", 7)},
        {"bare '(' at the end", "1", std::string("abc(\0", 5), VALUE_APPENDED,
         std::string("abc=\0", 5)},
        {"'=' in the name kept", "1", std::string("x=y(z)\0", 7), VALUE_APPENDED,
         std::string("x=y=z\0", 6)},
        {"binary, ')' gives the end", "1", std::string("A(b)", 4), VALUE_APPENDED,
         std::string("A=b\0", 4)},
        {"binary without NUL", "1", std::string("abc(def", 7), VALUE_SKIPPED, ""},
        {"no '('", "1", std::string("plain\0", 6), VALUE_SKIPPED, ""},
        {"no data", "1", std::string(), VALUE_SKIPPED, ""},
        {"last '(' after the first NUL", "1", std::string("a(b)\0c(d)\0\0", 11), VALUE_SKIPPED, ""},
        {"'(' only after the first NUL", "1", std::string("ab\0c(d)\0\0", 9), VALUE_SKIPPED, ""},
        {"empty string", "1", std::string("\0", 1), VALUE_ENDS_LIST, ""},
        {"one byte of binary", "1", std::string("(", 1), VALUE_ENDS_LIST, ""},
        {"unnamed default value", "", std::string("a(b)\0", 5), VALUE_ENDS_LIST, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string work = c.data + TRAILER;
        char list[64];
        memset(list, 0xbd, sizeof list);
        memcpy(list, "k=v", 4);
        size_t used = 4;
        int result = append_bwpvtex_value(list, sizeof list, &used, c.name, &work[0],
                                          static_cast<uint32_t>(c.data.size()));
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(work.substr(c.data.size()), TRAILER);
        EXPECT_EQ(std::string(list, 4), std::string("k=v", 4));
        size_t expected_used = 4 + (result == VALUE_APPENDED ? c.entry.size() : 0);
        ASSERT_EQ(used, expected_used);
        EXPECT_EQ(std::string(list + 4, used - 4), c.entry);
        EXPECT_EQ(static_cast<unsigned char>(list[used]), 0xbd);
    }
}

TEST(FormatSources, ListBlockLeavesRoomForTheFinalNul)
{
    std::string value("ab(c)\0", 6);   // entry "ab=c" and its NUL: 5 bytes
    static const struct {
        size_t list_size;
        int result;
    } cases[] = {
        {6, VALUE_APPENDED},   // the entry and the final NUL exactly
        {5, VALUE_ENDS_LIST},
        {0, VALUE_ENDS_LIST},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list_size);
        std::string data = value;
        char list[8];
        memset(list, 0xbd, sizeof list);
        size_t used = 0;
        EXPECT_EQ(append_bwpvtex_value(list, c.list_size, &used, "n", &data[0],
                                       static_cast<uint32_t>(data.size())),
                  c.result);
        EXPECT_EQ(static_cast<unsigned char>(list[c.list_size > 5 ? 5 : 0]), 0xbd);
        EXPECT_EQ(used, c.result == VALUE_APPENDED ? 5u : 0u);
    }
}
