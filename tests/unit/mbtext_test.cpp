#include <gtest/gtest.h>
#include <string.h>

#include "mbtext.h"

// Code-page cases need the process to run under that code page.
#define REQUIRE_CODE_PAGE(cp) \
    if (mb_code_page() != (cp)) GTEST_SKIP() << "needs code page " << (cp)

// A CP932 character whose second byte is a backslash (U+8868), and one whose
// second byte is an ASCII capital 'A' (U+30C1 katakana chi: 0x83 0x60 is
// U+30C0, 0x83 0x41 is U+30A2).
static const char TABLE_BACKSLASH[] = "\x95\x5c";
static const char KATAKANA_CAPITAL_A_TRAIL[] = "\x83\x41";

TEST(MbText, FindSkipsSecondBytes)
{
    REQUIRE_CODE_PAGE(932);
    char text[64];
    snprintf(text, sizeof text, "c:\\%s\\x.tex", TABLE_BACKSLASH);
    EXPECT_EQ(mb_find(text + 3, '\\'), text + 5);
    EXPECT_EQ(mb_find_last(text, '\\'), text + 5);
    // Second bytes that look like '.', '~' and '\\' are never found.
    EXPECT_EQ(mb_find("\x81\x2e", '.'), nullptr);   // 0x81 0x2E is no pair, but 0x81 leads
    EXPECT_EQ(mb_find("\x88\x7e", '~'), nullptr);
    EXPECT_EQ(mb_find_word("\x83makeindex", "makeindex"), nullptr);
    EXPECT_NE(mb_find_word("a\\makeindex", "\\makeindex"), nullptr);
}

TEST(MbText, SingleByteCodePageFindsEveryByte)
{
    REQUIRE_CODE_PAGE(1252);
    EXPECT_STREQ(mb_find("\x95\x5c", '\\'), "\x5c");
    EXPECT_STREQ(mb_find_word("\x83makeindex", "makeindex"), "makeindex");
}

TEST(MbText, SlashConversionLeavesSecondBytes)
{
    REQUIRE_CODE_PAGE(932);
    char text[32];
    snprintf(text, sizeof text, "c:\\%s\\a/b", TABLE_BACKSLASH);
    mb_convert_slashes(text, true);
    EXPECT_STREQ(text, "c:/\x95\x5c/a/b");
    mb_convert_slashes(text, false);
    EXPECT_STREQ(text, "c:\\\x95\x5c\\a\\b");
}

TEST(MbText, LowerKeepsSecondBytesAndLowersFullWidth)
{
    REQUIRE_CODE_PAGE(932);
    char text[32];
    snprintf(text, sizeof text, "AB%sC\x82\x60", KATAKANA_CAPITAL_A_TRAIL);  // full-width A
    EXPECT_TRUE(mb_lower(text));
    EXPECT_STREQ(text, "ab\x83\x41" "c\x82\x81");
}

TEST(MbText, LowerReportsAnUnmappableCharacterAndStops)
{
    REQUIRE_CODE_PAGE(932);
    char text[] = "AB\x81\x20" "CD";   // 0x20 is no second byte
    EXPECT_FALSE(mb_lower(text));
    EXPECT_STREQ(text, "ab\x81\x20" "CD");
}

TEST(MbText, LowerSingleByteAccents)
{
    REQUIRE_CODE_PAGE(1252);
    char text[] = "R\xc9SUM\xc9 \xd7 \x8a\x9f";
    EXPECT_TRUE(mb_lower(text));
    EXPECT_STREQ(text, "r\xe9sum\xe9 \xd7 \x9a\xff");
}

TEST(MbText, AsciiOnlyComparison)
{
    EXPECT_TRUE(mb_equal_ascii_nocase("WinTeX", "wintex"));
    EXPECT_FALSE(mb_equal_ascii_nocase("WinTeX", "wintex "));
    EXPECT_FALSE(mb_equal_ascii_nocase("\xc9", "\xe9"));
    EXPECT_FALSE(mb_equal_ascii_nocase("Win", "WinTeX"));
}

TEST(MbText, CaseInsensitiveComparisonWithLimit)
{
    EXPECT_TRUE(mb_equal_nocase("-HELP", "-help", SIZE_MAX));
    EXPECT_FALSE(mb_equal_nocase("-helpme", "-help", SIZE_MAX));
    EXPECT_TRUE(mb_equal_nocase("-FMT=LATEX", "-fmt=", 5));
    EXPECT_FALSE(mb_equal_nocase("-fm", "-fmt=", 5));
}

TEST(MbText, BoundedCopyNeverWritesPastTheBuffer)
{
    const struct {
        size_t source_len;
        bool fits;
    } cases[] = {{258, true}, {259, true}, {260, false}, {261, false}, {4000, false}};
    for (const auto& c : cases) {
        char buffer[TEXT_SIZE + 8];
        memset(buffer, 0xbd, sizeof buffer);
        strcpy(buffer, "keep");
        std::string source(c.source_len, 'x');
        EXPECT_EQ(mb_copy(buffer, TEXT_SIZE, source.c_str()), c.fits) << c.source_len;
        EXPECT_STREQ(buffer, c.fits ? source.c_str() : "keep") << c.source_len;
        for (size_t i = TEXT_SIZE; i < sizeof buffer; ++i)
            ASSERT_EQ((unsigned char)buffer[i], 0xbd) << c.source_len;
    }
}

TEST(MbText, AppendFitsExactly)
{
    char buffer[8] = "abc";
    EXPECT_TRUE(mb_append(buffer, sizeof buffer, "defg"));
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_FALSE(mb_append(buffer, sizeof buffer, "h"));
    EXPECT_STREQ(buffer, "abcdefg");
}

TEST(MbText, DecimalText)
{
    const struct {
        int value;
        const char* text;
    } cases[] = {{0, "0"}, {255, "255"}, {-1, "-1"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"}};
    for (const auto& c : cases) {
        char text[12];
        mb_decimal(c.value, text);
        EXPECT_STREQ(text, c.text);
    }
}
