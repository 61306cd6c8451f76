#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"
#include "fake_files.h"
#include "pathforms_codes.h"

namespace {

struct parsed {
    int code;
    std::string result_file;
    const char* file_argument;
};

parsed parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "pathforms");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    pathforms_request request;
    memset(&request, 0xbd, sizeof request);
    int code = read_command_line((int)words.size(), argv.data(), &request);
    static std::string file_copy;
    file_copy = request.file_argument ? request.file_argument : "";
    return parsed{code, request.result_file, request.file_argument ? file_copy.c_str() : nullptr};
}

}  // namespace

class PathformsCommandLine : public ::testing::Test {
protected:
    void SetUp() override { fake_files::reset(); }
};

TEST_F(PathformsCommandLine, OptionFormsAndErrors)
{
    const struct {
        std::vector<std::string> words;
        int code;
        const char* result_file;
        const char* file_argument;   // nullptr: none
    } cases[] = {
        {{}, PATHFORMS_NO_ARGUMENT, "", nullptr},
        {{"-d"}, PATHFORMS_NO_ARGUMENT, "", nullptr},
        {{"-x", "a.tex"}, PATHFORMS_BAD_OPTION, "", nullptr},
        {{"-"}, PATHFORMS_BAD_OPTION, "", nullptr},
        {{"/e", "a.tex"}, PATHFORMS_BAD_OPTION, "", nullptr},
        {{"-dout.ini", "a.tex"}, PATHFORMS_OK, "out.ini", "a.tex"},
        {{"-d", "out.ini", "a.tex"}, PATHFORMS_OK, "out.ini", "a.tex"},
        {{"/Dout.ini", "a.tex"}, PATHFORMS_OK, "out.ini", "a.tex"},
        {{"/d", "out.ini", "a.tex", "b.tex"}, PATHFORMS_OK, "out.ini", "a.tex"},
        {{"-Dout.ini"}, PATHFORMS_OK, "out.ini", nullptr},
        {{"-d", "out.ini"}, PATHFORMS_OK, "out.ini", nullptr},
        // Without an option the result file sits beside the program.
        {{"a.tex", "-dout.ini"}, PATHFORMS_OK, "c:\\tools\\pathforms.ini", "a.tex"},
        {{"d.tex"}, PATHFORMS_OK, "c:\\tools\\pathforms.ini", "d.tex"},
    };
    for (const auto& c : cases) {
        std::string row = ::testing::PrintToString(c.words);
        parsed got = parse(c.words);
        EXPECT_EQ(got.code, c.code) << row;
        if (c.code != PATHFORMS_OK)
            continue;
        EXPECT_EQ(got.result_file, c.result_file) << row;
        if (c.file_argument == nullptr)
            EXPECT_EQ(got.file_argument, nullptr) << row;
        else
            EXPECT_STREQ(got.file_argument, c.file_argument) << row;
    }
}

TEST_F(PathformsCommandLine, DefaultResultFileFromOwnPath)
{
    const std::string at_limit = "c:\\" + std::string(251, 'p') + ".exe";     // 258 characters
    const std::string short_ext = "c:\\" + std::string(253, 'p') + ".e";       // 258 characters
    const struct {
        std::string own_path;   // empty: the platform cannot report it
        int code;
        std::string result_file;
    } cases[] = {
        {"c:\\tools\\pathforms.exe", PATHFORMS_OK, "c:\\tools\\pathforms.ini"},
        // The last '.' of the whole path counts, also one in a directory.
        {"c:\\my.tools\\pathforms", PATHFORMS_OK, "c:\\my.ini"},
        {"c:\\tools\\pathforms", PATHFORMS_NO_OWN_PATH, ""},
        {"", PATHFORMS_NO_OWN_PATH, ""},
        {at_limit, PATHFORMS_OK, at_limit.substr(0, 255) + "ini"},
        // "ini" would make it 259 + 1 characters: refused, never cut.
        {short_ext, PATHFORMS_NO_OWN_PATH, ""},
    };
    for (const auto& c : cases) {
        fake_files::set_module_path(c.own_path);
        parsed got = parse({"a.tex"});
        EXPECT_EQ(got.code, c.code) << c.own_path;
        if (c.code == PATHFORMS_OK) {
            EXPECT_EQ(got.result_file, c.result_file) << c.own_path;
        }
    }
}

TEST_F(PathformsCommandLine, ResultFileNameMustFit)
{
    const std::string fits(259, 'r');
    parsed got = parse({"-d", fits, "a.tex"});
    EXPECT_EQ(got.code, PATHFORMS_OK);
    EXPECT_EQ(got.result_file, fits);

    EXPECT_EQ(parse({"-d", fits + "r", "a.tex"}).code, PATHFORMS_NO_ARGUMENT);
    EXPECT_EQ(parse({"-d" + fits + "r", "a.tex"}).code, PATHFORMS_NO_ARGUMENT);
}
