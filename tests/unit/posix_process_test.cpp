// The posix backend's processes: start-up conversion of the arguments, the
// environment, and native children started the way _spawnvp starts them.
#ifndef _WIN32
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "mbtext.h"
#include "platform.h"
#include "posix_test_dir.h"

namespace {

// A child that writes its arguments (one a line), its directory and
// QB_VAR into the file named by QB_OUT.
const char* const SHOW_SCRIPT =
    "#!/bin/sh\n"
    "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$QB_OUT\"\n"
    "echo \"cwd=$(pwd)\" >> \"$QB_OUT\"\n"
    "echo \"var=$QB_VAR\" >> \"$QB_OUT\"\n";

class PosixProcess : public PosixTempDir {
protected:
    void SetUp() override
    {
        PosixTempDir::SetUp();
        make_dir("bin");
        make_file("bin/show", SHOW_SCRIPT, 0755);
        setenv("QB_OUT", native("out.txt").c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("QB_OUT");
        unsetenv("QB_VAR");
        PosixTempDir::TearDown();
    }
    std::vector<std::string> child_lines()
    {
        std::ifstream in(native("out.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // Runs bin/show with the words after argv[0] and returns its arguments.
    std::vector<std::string> run_show(std::vector<const char*> words)
    {
        std::string program = windows("bin\\show");
        words.insert(words.begin(), program.c_str());
        words.push_back(NULL);
        EXPECT_EQ(plat_spawn_wait(program.c_str(), words.data()), PLAT_OK);
        std::vector<std::string> lines = child_lines();
        return std::vector<std::string>(lines.begin(), lines.end() - 2);
    }
};

TEST_F(PosixProcess, CommandLineIsJoinedAndSplitAgain)
{
    const struct {
        std::vector<const char*> words;
        std::vector<std::string> child;
    } cases[] = {
        {{"a b"}, {"a", "b"}},                      // no quotes are added
        {{"\"c d\"", "e"}, {"c d", "e"}},
        {{"e\\\"f"}, {"e\"f"}},                     // \" is a literal quote
        {{"g\\\\\"h i\""}, {"g\\h i"}},             // \\" is \ and a quote
        {{"a\\b\\\\c"}, {"a\\b\\\\c"}},             // other backslashes stay
        {{"\"\"", "x"}, {"", "x"}},
        {{"&latex", "-ini", "\\input"}, {"&latex", "-ini", "\\input"}},
        {{"tab\there"}, {"tab", "here"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run_show(c.words), c.child) << c.words[0];
}

TEST_F(PosixProcess, DrivePathArgumentsBecomeNativePaths)
{
    make_dir("Data");
    make_file("Data/Paper.tex");
    std::string lower = windows();
    mb_lower(&lower[0]);
    std::string existing = lower + "\\data\\paper.tex";
    std::string forward = existing;
    mb_convert_slashes(&forward[0], true);
    std::string missing = lower + "\\data\\paper.log";
    std::vector<std::string> got =
        run_show({existing.c_str(), forward.c_str(), missing.c_str(), "c:\\x", "-fmt=z:\\q"});
    std::vector<std::string> want = {native("Data/Paper.tex"), native("Data/Paper.tex"),
                                     native("Data/paper.log"), "c:\\x", "-fmt=z:\\q"};
    EXPECT_EQ(got, want);
}

TEST_F(PosixProcess, ChildInheritsDirectoryAndEnvironment)
{
    make_dir("Work");
    ASSERT_EQ(plat_set_current_dir("work"), PLAT_OK);
    ASSERT_EQ(plat_env_put("QB_VAR=hello world"), PLAT_OK);
    EXPECT_TRUE(plat_env_present("qb_var"));
    run_show({});
    std::vector<std::string> lines = child_lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "cwd=" + native("Work"));
    EXPECT_EQ(lines[1], "var=hello world");

    // Another spelling is the same variable; an empty value removes it.
    ASSERT_EQ(plat_env_put("qb_VAR=again"), PLAT_OK);
    EXPECT_STREQ(getenv("QB_VAR"), "again");
    ASSERT_EQ(plat_env_put("QB_VAR="), PLAT_OK);
    EXPECT_FALSE(plat_env_present("QB_VAR"));
    EXPECT_NE(plat_env_put("no assignment"), PLAT_OK);
}

TEST_F(PosixProcess, ProgramLookup)
{
    // .com before .exe before the bare name; a name with a dot as it is.
    make_file("bin/tool.exe", "#!/bin/sh\necho exe > \"$QB_OUT\"\n", 0755);
    make_file("bin/tool.com", "#!/bin/sh\necho com > \"$QB_OUT\"\n", 0755);
    make_file("bin/tool", "#!/bin/sh\necho bare > \"$QB_OUT\"\n", 0755);
    make_file("bin/plain.txt", "", 0644);
    const char* argv[] = {"tool", NULL};
    ASSERT_EQ(plat_spawn_wait("BIN\\TOOL", argv), PLAT_OK);
    EXPECT_EQ(child_lines(), std::vector<std::string>{"com"});
    ASSERT_EQ(plat_spawn_wait("bin/tool.exe", argv), PLAT_OK);
    EXPECT_EQ(child_lines(), std::vector<std::string>{"exe"});

    // Along PATH, Unix-style, for a name without '/'.
    std::string saved = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", ("/nonexistent::" + native("bin")).c_str(), 1);
    int by_path = plat_spawn_wait("show", argv);
    int with_slash = plat_spawn_wait("nowhere/show", argv);
    int not_there = plat_spawn_wait("qb_no_such_program", argv);
    setenv("PATH", saved.c_str(), 1);
    EXPECT_EQ(by_path, PLAT_OK);
    EXPECT_EQ(with_slash, PLAT_NOT_FOUND);
    EXPECT_EQ(not_there, PLAT_NOT_FOUND);

    EXPECT_EQ(plat_spawn_wait(windows("bin\\nothere").c_str(), argv), PLAT_NOT_FOUND);
    EXPECT_EQ(plat_spawn_wait("c:\\tex\\virtex.exe", argv), PLAT_NOT_FOUND);
    EXPECT_EQ(plat_spawn_wait("bin\\plain.txt", argv), PLAT_FAILED);   // not executable
}

TEST_F(PosixProcess, StartConvertsArgumentsToTheCodePage)
{
    char word0[] = "prog";
    char accented[] = "caf\xC3\xA9";        // café
    char katakana[] = "\xE3\x82\xBD.tex";   // katakana so, 0x83 0x5C in 932
    char* argv[] = {word0, mb_code_page() == 932 ? katakana : accented, NULL};
    char** args = argv;
    int argc = 2;
    ASSERT_EQ(plat_start(&argc, &args), PLAT_OK);
    EXPECT_STREQ(args[1], mb_code_page() == 932 ? "\x83\x5c.tex" : "caf\xE9");

    // A word the code page cannot hold fails the start: never a cut name.
    char other[] = "\xE2\x98\x83";   // a snowman is in neither code page
    char* bad[] = {word0, other, NULL};
    args = bad;
    EXPECT_EQ(plat_start(&argc, &args), PLAT_BAD_NAME);
}

}  // namespace
#endif
