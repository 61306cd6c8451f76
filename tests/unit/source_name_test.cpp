#include <gtest/gtest.h>
#include <string.h>

#include "source_name.h"

TEST(SourceName, RecordBuilderFindsTheDotsOfTheBaseName)
{
    const struct {
        const char* name;
        bool valid;
        int first_dot, last_dot;
    } cases[] = {
        {"C:\\tex\\paper.tex", true, 12, 12},
        {"paper.tex", true, 5, 5},
        {"my.paper.tex", true, 2, 8},
        {"C:\\my.dir\\paper", false, -1, -1},
        {".latexrc", false, -1, -1},
        {".x.tex", true, 2, 2},
        {"..tex", true, 1, 1},
        {"c:/tex/my.dir/paper", true, 9, 9},
        {"", false, -1, -1},
        {"\\", false, -1, -1},
    };
    for (const auto& c : cases) {
        source_name record;
        EXPECT_EQ(build_source_name(&record, c.name), c.valid) << c.name;
        EXPECT_STREQ(record.name, c.name);
        if (c.valid) {
            EXPECT_EQ(record.first_dot, c.first_dot) << c.name;
            EXPECT_EQ(record.last_dot, c.last_dot) << c.name;
        }
    }
}

TEST(SourceName, RecordBuilderAcceptsItsOwnName)
{
    source_name record;
    strcpy(record.name, "a\\b.c.d");
    EXPECT_TRUE(build_source_name(&record, record.name));
    EXPECT_STREQ(record.name, "a\\b.c.d");
    EXPECT_EQ(record.first_dot, 3);
    EXPECT_EQ(record.last_dot, 5);
}

TEST(SourceName, DoubleByteSecondBackslashIsNoSeparator)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "needs code page 932";
    // The directory name ends in 0x95 0x5C; the base name is a.b.
    source_name record;
    EXPECT_TRUE(build_source_name(&record, "c:\\x.\x95\x5c\\a.b"));
    EXPECT_EQ(record.first_dot, 9);
    // A dot-looking second byte in the base name is no dot.
    EXPECT_FALSE(build_source_name(&record, "c:\\\x81\x2e"));
}

TEST(SourceName, NamesThatDoNotFitGiveAnInvalidRecord)
{
    for (size_t len : {259u, 260u, 261u, 5000u}) {
        std::string name(len - 4, 'a');
        name += ".tex";
        source_name record;
        bool valid = build_source_name(&record, name.c_str());
        EXPECT_EQ(valid, len < TEXT_SIZE) << len;
        if (!valid) {
            EXPECT_STREQ(record.name, "");
        }
    }
}
