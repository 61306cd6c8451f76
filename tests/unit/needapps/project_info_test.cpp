#include <gtest/gtest.h>
#include <string.h>

#include "mbtext.h"
#include "project_info.h"
#include "source_name.h"

struct short_name_case {
    const char* source;
    const char* short_name;       // cut at the last dot
    const char* short_name_old;   // cut at the first dot
};

static void check_short_names(const short_name_case* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const short_name_case& c = cases[i];
        source_name record;
        ASSERT_TRUE(build_source_name(&record, c.source)) << c.source;
        char name[TEXT_SIZE];
        memset(name, 0xbd, sizeof name);
        short_name(&record, record.last_dot, name);
        EXPECT_STREQ(name, c.short_name) << c.source;
        short_name(&record, record.first_dot, name);
        EXPECT_STREQ(name, c.short_name_old) << c.source;
        EXPECT_STREQ(record.name, c.source);
    }
}

TEST(ShortName, BaseNameCutAtEitherDot)
{
    const short_name_case cases[] = {
        {"C:\\doc\\paper.tex", "paper", "paper"},
        {"C:\\doc\\paper.final.tex", "paper.final", "paper"},
        {"paper.tex", "paper", "paper"},
        {"my.dir\\a.b.c.d", "a.b.c", "a"},
        {".x.tex", ".x", ".x"},
        {"..tex", ".", "."},
        // Only a backslash separates.
        {"c:/tex/my.dir/paper", "c:/tex/my", "c:/tex/my"},
    };
    check_short_names(cases, sizeof cases / sizeof cases[0]);
}

TEST(ShortName, DoubleByteSecondBackslashIsNoSeparator)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "needs code page 932";
    const short_name_case cases[] = {
        {"c:\\\x95\x5c\\paper.tex", "paper", "paper"},
        {"c:\\doc\\\x95\x5c.a.tex", "\x95\x5c.a", "\x95\x5c"},
    };
    check_short_names(cases, sizeof cases / sizeof cases[0]);
}
