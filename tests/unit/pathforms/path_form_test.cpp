#include <gtest/gtest.h>

#include <string>

#include "fake_files.h"
#include "mbtext.h"
#include "path_form.h"

#define REQUIRE_CODE_PAGE(cp) \
    if (mb_code_page() != (cp)) GTEST_SKIP() << "needs code page " << (cp)

namespace {

// The three form texts, or "" for a form that failed.
struct forms {
    std::string lower, stored, short_lower;
};

forms build_all(const char* argument)
{
    std::string texts[FORM_COUNT];
    for (int index = 0; index < FORM_COUNT; ++index) {
        path_form form;
        if (build_path_form(&form, index, argument)) {
            texts[index] = form.text;
            EXPECT_EQ(form.text[form.last_separator], '\\') << argument;
            EXPECT_EQ(mb_find_last(form.text, '\\'), form.text + form.last_separator) << argument;
        }
    }
    return forms{texts[0], texts[1], texts[2]};
}

}  // namespace

class PathForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake_files::reset();
        fake_files::add_directory("c:\\Work Files", "WORKFI~1");
        fake_files::add_file("c:\\Work Files\\Long Chapter.tex", "LONGCH~1.TEX");
        fake_files::add_directory("c:\\Work Files\\Docs");
        fake_files::add_file("c:\\Paper.tex");
        fake_files::add_file("c:\\Notes.txt");
    }
};

TEST_F(PathForm, ThreeRenderings)
{
    const struct {
        const char* argument;
        forms expected;
    } cases[] = {
        {"work files\\long chapter.tex",
         {"c:\\work files\\long chapter.tex", "c:\\Work Files\\long chapter.tex",
          "c:\\workfi~1\\longch~1.tex"}},
        // A file that does not exist keeps its name as written.
        {"C:\\WORK FILES\\Missing.TEX",
         {"c:\\work files\\missing.tex", "c:\\Work Files\\Missing.TEX",
          "c:\\workfi~1\\missing.tex"}},
        // Only form 3 looks the last component up.
        {"work files\\LONGCH~1.TEX",
         {"c:\\work files\\longch~1.tex", "c:\\Work Files\\LONGCH~1.TEX",
          "c:\\workfi~1\\longch~1.tex"}},
        // A directory without a short name keeps its stored name in form 3.
        {"work files/docs/Index.tex",
         {"c:\\work files\\docs\\index.tex", "c:\\Work Files\\Docs\\Index.tex",
          "c:\\workfi~1\\docs\\index.tex"}},
        {"C:\\Paper.tex", {"c:\\paper.tex", "c:\\Paper.tex", "c:\\paper.tex"}},
        // A directory on the way is missing, or is a file.
        {"no such dir\\x.tex", {"", "", ""}},
        {"notes.txt\\x.tex", {"", "", ""}},
        // A path ending in a backslash names no file.
        {"work files\\", {"", "", ""}},
        {"c:\\", {"", "", ""}},
        // A network path: \\server is no directory entry.
        {"\\\\server\\share\\x.tex", {"", "", ""}},
        {"", {"", "", ""}},
    };
    for (const auto& c : cases) {
        forms got = build_all(c.argument);
        EXPECT_EQ(got.lower, c.expected.lower) << c.argument;
        EXPECT_EQ(got.stored, c.expected.stored) << c.argument;
        EXPECT_EQ(got.short_lower, c.expected.short_lower) << c.argument;
    }
}

TEST_F(PathForm, NoFileArgumentFailsEveryForm)
{
    EXPECT_EQ(build_all(nullptr).lower, "");
    EXPECT_EQ(build_all(nullptr).short_lower, "");
}

// A lookup of a wildcard would report whichever entry matched first, and
// that entry's name would stand in the form as if it were ours.
TEST_F(PathForm, WildcardsAreRefused)
{
    fake_files::add_directory("c:\\*", "WORKFI~1", "Work Files");
    fake_files::add_directory("c:\\Work Fi?es", "WORKFI~1", "Work Files");
    for (const char* argument : {"c:\\*\\long chapter.tex", "c:\\work fi?es\\a.tex", "c:\\work files\\*.tex"}) {
        forms got = build_all(argument);
        EXPECT_EQ(got.lower + got.stored + got.short_lower, "") << argument;
    }
}

TEST_F(PathForm, FullPathAtTheLimit)
{
    // "c:\Work Files\" is 14 characters; a 245-character name fills 259.
    const std::string fits = "c:\\Work Files\\" + std::string(245, 'n');
    forms got = build_all(fits.c_str());
    EXPECT_EQ(got.stored, fits);
    EXPECT_EQ(got.short_lower, "c:\\workfi~1\\" + std::string(245, 'n'));

    const std::string too_long = fits + "n";
    got = build_all(too_long.c_str());
    EXPECT_EQ(got.lower + got.stored + got.short_lower, "");
}

// A path written with short names can be far shorter than its long forms;
// a form that would not fit fails on its own, the short form still works.
TEST_F(PathForm, FormTextThatWouldNotFitFailsThatForm)
{
    fake_files::add_directory("c:\\LONGDI~1", "LONGDI~1", std::string(200, 'D'));
    fake_files::add_directory("c:\\LONGDI~1\\SUB~1", "SUB~1", std::string(60, 'S'));
    forms got = build_all("c:\\longdi~1\\sub~1\\x.tex");
    EXPECT_EQ(got.lower, "");
    EXPECT_EQ(got.stored, "");
    EXPECT_EQ(got.short_lower, "c:\\longdi~1\\sub~1\\x.tex");

    // 3 + 200 + 1 + 54 + 1 + 5 = 264 does not fit; with 49 it is 259.
    fake_files::add_directory("c:\\LONGDI~1\\SUB~2", "SUB~2", std::string(49, 'S'));
    got = build_all("c:\\longdi~1\\sub~2\\x.tex");
    EXPECT_EQ(got.stored, "c:\\" + std::string(200, 'D') + "\\" + std::string(49, 'S') + "\\x.tex");
    EXPECT_EQ(got.stored.size(), 259u);
}

TEST_F(PathForm, DoubleByteNamesCp932)
{
    REQUIRE_CODE_PAGE(932);
    // 0x95 0x5C (a kanji) ends in a backslash byte; 0x82 0x60 is a
    // full-width capital A, whose small letter is 0x82 0x81.
    fake_files::add_directory("c:\\\x95\x5c");
    fake_files::add_directory("c:\\\x95\x5c\\\x82\x60\x95\x5c");
    forms got = build_all("c:\\\x95\x5c\\\x82\x60\x95\x5c\\\x82\x60.tex");
    EXPECT_EQ(got.lower, "c:\\\x95\x5c\\\x82\x81\x95\x5c\\\x82\x81.tex");
    EXPECT_EQ(got.stored, "c:\\\x95\x5c\\\x82\x60\x95\x5c\\\x82\x60.tex");
    EXPECT_EQ(got.short_lower, got.lower);
}

TEST_F(PathForm, AccentedCapitalsCp1252)
{
    REQUIRE_CODE_PAGE(1252);
    fake_files::add_directory("c:\\\xc9t\xe9");
    forms got = build_all("c:\\\xc9T\xe9\\R\xc9SUM\xc9.tex");
    EXPECT_EQ(got.lower, "c:\\\xe9t\xe9\\r\xe9sum\xe9.tex");
    EXPECT_EQ(got.stored, "c:\\\xc9t\xe9\\R\xc9SUM\xc9.tex");
}
