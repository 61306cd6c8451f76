#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "command_line.h"

TEST(RavickCommandLine, ArgumentCountAndHelpDecideTheKindOfRun)
{
    const struct {
        std::vector<const char*> arguments;
        command_kind kind;
    } cases[] = {
        {{}, COMMAND_USAGE},
        {{"-help"}, COMMAND_HELP},
        {{"-Help"}, COMMAND_HELP},
        {{"-HELP"}, COMMAND_HELP},
        {{"-help", "extra"}, COMMAND_HELP},
        {{"-helpme"}, COMMAND_INVALID},
        {{"-hel"}, COMMAND_INVALID},
        {{"tex"}, COMMAND_INVALID},
        {{"tex", "&latex"}, COMMAND_INVALID},
        {{"extra", "-help"}, COMMAND_INVALID},
        // With three words even "-help" is the engine.
        {{"-help", "&latex", "paper.tex"}, COMMAND_RUN},
        {{"tex", "&latex", "paper.tex"}, COMMAND_RUN},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"ravick"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        std::string joined;
        for (const char* a : c.arguments)
            joined += std::string(a) + " ";
        EXPECT_EQ(classify_command_line((int)argv.size(), argv.data()), c.kind)
            << "arguments: " << joined;
    }
}

TEST(RavickCommandLine, ProgramNameIsCutToFitAtACharacterBoundary)
{
    const struct {
        size_t length;
        size_t kept;
    } cases[] = {
        {0, 0}, {12, 12}, {259, 259}, {260, 259}, {261, 259}, {4000, 259},
    };
    for (const auto& c : cases) {
        std::string word(c.length, 'r');
        char program[TEXT_SIZE + 8];
        memset(program, 0xbd, sizeof program);
        copy_program_name(program, word.c_str());
        EXPECT_EQ(strlen(program), c.kept) << "length " << c.length;
        EXPECT_EQ((unsigned char)program[TEXT_SIZE], 0xbd) << "length " << c.length;
    }
}

TEST(RavickCommandLine, ProgramNameNeverKeepsHalfADoubleByteCharacter)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "needs code page 932";
    // 258 single bytes and then a double-byte character: it does not fit
    // whole, so it is left out.
    std::string word(258, 'r');
    word += "\x95\x5c";
    char program[TEXT_SIZE];
    copy_program_name(program, word.c_str());
    EXPECT_EQ(strlen(program), 258u);
}
