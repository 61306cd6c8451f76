#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "format_sources.h"
#include "mbtext.h"
#include "menu_writer.h"

#define REQUIRE_CODE_PAGE(cp) \
    if (mb_code_page() != (cp)) GTEST_SKIP() << "needs code page " << (cp)

struct entry_case {
    int source_index;
    const char* entry;
    const char* text;   // NULL: no menu entry (the entry has no '=')
};

static void check_entries(const entry_case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const entry_case& c = cases[i];
        SCOPED_TRACE(c.entry);
        char entry[64];
        ASSERT_TRUE(mb_copy(entry, sizeof entry, c.entry));
        char out[64];
        memset(out, 0xbd, sizeof out);
        bool built = build_menu_entry(c.source_index, entry, out, sizeof out);
        EXPECT_EQ(built, c.text != NULL);
        if (built && c.text != NULL) {
            EXPECT_STREQ(out, c.text);
            EXPECT_EQ(static_cast<unsigned char>(out[strlen(out) + 1]), 0xbd);
        }
    }
}

TEST(MenuWriter, EntryTextFromClassValueAndName)
{
    static const entry_case cases[] = {
        // WinTeX searches the name part, lower-cased; the text keeps it as found.
        {SOURCE_WINTEX, "My Big Format=Fmt1", "1fmt1:My Big Format"},
        {SOURCE_WINTEX, "AMS-LaTeX=amslatex", "1amslatex:AMS-LaTeX"},
        {SOURCE_WINTEX, "Plain=amsfmt", "0amsfmt:Plain"},
        // pTeX2GUI searches the value part: "j" before "pdf" before the rest.
        {SOURCE_PTEX2GUI, "pLaTeX =platex", "1platex:pLaTeX "},
        {SOURCE_PTEX2GUI, "a=jplatex", "3jplatex:a"},
        {SOURCE_PTEX2GUI, "a=PdfPLaTeX", "2pdfplatex:a"},
        {SOURCE_PTEX2GUI, "a=ptex", "1ptex:a"},
        {SOURCE_PTEX2GUI, "a=pdfj", "3pdfj:a"},
        {SOURCE_PTEX2GUI, "Big=tex", "0tex:Big"},
        // Splitting at the first '='.
        {SOURCE_PTEX2GUI, "x=", "0:x"},
        {SOURCE_PTEX2GUI, "=v", "0v:"},
        {SOURCE_PTEX2GUI, "a=b=c", "0b=c:a"},
        {SOURCE_WINTEX, "no separator", NULL},
        {SOURCE_WINTEX, "", NULL},
        {-1, "a=b", NULL},
    };
    check_entries(cases, sizeof cases / sizeof cases[0]);
}

TEST(MenuWriter, EntryTextInCodePage932)
{
    REQUIRE_CODE_PAGE(932);
    static const entry_case cases[] = {
        // Byte 0x83 leads: its second byte is no '=' and no 'j'.
        {SOURCE_PTEX2GUI, "\x83=a=\x83j", "0\x83j:\x83=a"},
        // Full-width capitals become full-width small letters, and are no
        // ASCII keyword.
        {SOURCE_PTEX2GUI, "\x82\x6f=\x82\x6f\x82\x63\x82\x65",
         "0\x82\x90\x82\x84\x82\x86:\x82\x6f"},
        {SOURCE_WINTEX, "\x82\x60\x82\x6c\x82\x72=x", "0x:\x82\x60\x82\x6c\x82\x72"},
    };
    check_entries(cases, sizeof cases / sizeof cases[0]);
}

TEST(MenuWriter, EntryTextInCodePage1252)
{
    REQUIRE_CODE_PAGE(1252);
    static const entry_case cases[] = {
        // Every byte is a character of its own.
        {SOURCE_PTEX2GUI, "\x83=a=\x83j", "3a=\x83j:\x83"},
        // Accented capitals are lowered too.
        {SOURCE_PTEX2GUI, "\xc9t\xc9=\xc0J", "3\xe0j:\xc9t\xc9"},
    };
    check_entries(cases, sizeof cases / sizeof cases[0]);
}

TEST(MenuWriter, EntryIsCutAndLoweredInPlace)
{
    char entry[] = "My Big=Fmt1";
    char out[16];
    ASSERT_TRUE(build_menu_entry(SOURCE_WINTEX, entry, out, sizeof out));
    EXPECT_EQ(memcmp(entry, "my big\0fmt1", sizeof entry), 0);
}

TEST(MenuWriter, EntryTextNeedsEntryLengthPlusTwo)
{
    static const struct {
        size_t out_size;
        bool built;
    } cases[] = {{7, true}, {6, false}};   // "ab=cd" gives "0cd:ab"
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out_size);
        char entry[] = "ab=cd";
        char out[8];
        memset(out, 0xbd, sizeof out);
        EXPECT_EQ(build_menu_entry(SOURCE_WINTEX, entry, out, c.out_size), c.built);
        EXPECT_EQ(static_cast<unsigned char>(out[c.out_size]), 0xbd);
    }
}

TEST(MenuWriter, ListWalkStopsAtEmptyEntryAndBlockEnd)
{
    static const struct {
        const char* what;
        std::string block;
        size_t count;
        size_t longest;
    } cases[] = {
        {"empty list", std::string("\0\0", 2), 0, 0},
        {"two entries", std::string("a=b\0cc=dd\0\0", 11), 2, 5},
        {"empty entry ends it", std::string("a\0\0long=entry\0\0", 16), 1, 1},
        {"unterminated last entry", std::string("a=b\0xyz", 7), 1, 3},
        {"no block", std::string(), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        size_t count = 99, longest = 99;
        measure_format_list(c.block.data(), c.block.size(), &count, &longest);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(longest, c.longest);
    }
}
