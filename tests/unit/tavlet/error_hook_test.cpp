#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "error_hook.h"
#include "mbtext.h"

TEST(TavletErrorHook, ArgumentCountGivesTheResultCode)
{
    const struct {
        int arguments;
        tavlet_result result;
    } cases[] = {
        {0, TAVLET_TOO_FEW_ARGUMENTS},
        {1, TAVLET_TOO_FEW_ARGUMENTS},
        {2, TAVLET_RECORDED},
        {3, TAVLET_TOO_MANY_ARGUMENTS},
        {9, TAVLET_TOO_MANY_ARGUMENTS},
    };
    for (const auto& c : cases)
        EXPECT_EQ(result_for_argument_count(c.arguments), c.result) << c.arguments;
    EXPECT_EQ(TAVLET_TOO_FEW_ARGUMENTS, 2);
    EXPECT_EQ(TAVLET_TOO_MANY_ARGUMENTS, 4);
}

namespace {

struct conversion_case {
    const char* name;
    const char* converted;
};

template <size_t N>
void expect_conversions(const conversion_case (&cases)[N])
{
    for (const auto& c : cases) {
        std::string name = c.name;
        convert_error_file_name(&name[0]);
        EXPECT_EQ(name, c.converted) << c.name;
    }
}

}  // namespace

TEST(TavletErrorHook, FileNameIsLoweredWithBackslashes)
{
    const conversion_case cases[] = {
        {"C:/TeX/Doc/Main.TEX", "c:\\tex\\doc\\main.tex"},
        {"c:\\tex\\doc\\main.tex", "c:\\tex\\doc\\main.tex"},
        {"", ""},
        {"./Sub/A.tex", ".\\sub\\a.tex"},
    };
    expect_conversions(cases);
}

TEST(TavletErrorHook, AccentedCapitalsAreLoweredInCodePage1252)
{
    if (mb_code_page() != 1252)
        GTEST_SKIP() << "needs code page 1252";
    const conversion_case cases[] = {
        {"C:/\xC9T\xC9/\xC0.TEX", "c:\\\xE9t\xE9\\\xE0.tex"},
    };
    expect_conversions(cases);
}

TEST(TavletErrorHook, DoubleByteCharactersConvertAsOneUnitInCodePage932)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "needs code page 932";
    const conversion_case cases[] = {
        // Full-width A..Z lower as one unit; a second byte that looks like
        // an ASCII capital (0x83 0x41) is not lowered on its own.
        {"C:/\x82\x60\x83\x41/A.TEX", "c:\\\x82\x81\x83\x41\\a.tex"},
        // 0x81 0x2F cannot be lowered: the lowering stops there, the slashes
        // are still converted, except the second byte with the value of '/',
        // which is part of its character.
        {"C:/\x81\x2fX/Y.TEX", "c:\\\x81\x2fX\\Y.TEX"},
    };
    expect_conversions(cases);
}

TEST(TavletErrorHook, LongFileNamesAreConvertedWhole)
{
    // The name is converted where it stands, so a name longer than any path
    // text is no risk and loses nothing.
    std::string name(5000, 'A');
    name += "/B.TEX";
    convert_error_file_name(&name[0]);
    EXPECT_EQ(name, std::string(5000, 'a') + "\\b.tex");
}
