#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_files.h"
#include "form_writer.h"

namespace {

typedef std::vector<std::pair<std::string, std::string>> key_values;

// The writes made, all expected in file out.ini, section Result.
key_values written()
{
    key_values out;
    for (const ini_write& w : fake_files::writes()) {
        EXPECT_EQ(w.file, "out.ini");
        EXPECT_EQ(w.section, "Result");
        out.emplace_back(w.key, w.value);
    }
    return out;
}

}  // namespace

class FormWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake_files::reset();
        fake_files::add_directory("c:\\Work Files", "WORKFI~1");
        fake_files::add_file("c:\\Work Files\\Long Chapter.tex", "LONGCH~1.TEX");
        fake_files::add_file("c:\\Paper.tex");
    }
};

TEST_F(FormWriter, AllFormsThenReturnCodeLast)
{
    EXPECT_EQ(write_path_forms("out.ini", "work files\\long chapter.tex"), 0);
    const key_values expected = {
        {"filename", "c:\\work files\\long chapter.tex"},
        {"basename", "long chapter.tex"},
        {"directory", "c:\\work files"},
        {"filename2", "c:\\Work Files\\long chapter.tex"},
        {"basename2", "long chapter.tex"},
        {"directory2", "c:\\Work Files"},
        {"filename3", "c:\\workfi~1\\longch~1.tex"},
        {"basename3", "longch~1.tex"},
        {"directory3", "c:\\workfi~1"},
        {"returncode", "0"},
    };
    EXPECT_EQ(written(), expected);
}

TEST_F(FormWriter, RootDirectoryKeepsItsBackslash)
{
    EXPECT_EQ(write_path_forms("out.ini", "c:\\PAPER.TEX"), 0);
    const key_values expected = {
        {"filename", "c:\\paper.tex"}, {"basename", "paper.tex"}, {"directory", "c:\\"},
        {"filename2", "c:\\PAPER.TEX"}, {"basename2", "PAPER.TEX"}, {"directory2", "c:\\"},
        {"filename3", "c:\\paper.tex"}, {"basename3", "paper.tex"}, {"directory3", "c:\\"},
        {"returncode", "0"},
    };
    EXPECT_EQ(written(), expected);
}

TEST_F(FormWriter, FailedFormsWriteNoKeys)
{
    const struct {
        const char* argument;
        int code;
    } cases[] = {
        {"missing\\x.tex", 28},
        {nullptr, 28},   // -d NAME with no file after it
    };
    for (const auto& c : cases) {
        fake_files::reset();
        EXPECT_EQ(write_path_forms("out.ini", c.argument), c.code);
        EXPECT_EQ(written(), (key_values{{"returncode", std::to_string(c.code)}}));
    }
}

TEST_F(FormWriter, CodesOfFailedFormsAddUp)
{
    // "c:\" + 251 + "\x.tex" is 260 characters: forms 1 and 2 do not fit,
    // the short form does.
    fake_files::add_directory("c:\\LONGDI~1", "LONGDI~1", std::string(251, 'D'));
    EXPECT_EQ(write_path_forms("out.ini", "c:\\longdi~1\\x.tex"), 4 + 8);
    const key_values expected = {
        {"filename3", "c:\\longdi~1\\x.tex"},
        {"basename3", "x.tex"},
        {"directory3", "c:\\longdi~1"},
        {"returncode", "12"},
    };
    EXPECT_EQ(written(), expected);
}
