#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "engine_args.h"

namespace {

// The list as one text, entries joined by '|', to compare a whole row.
std::string joined_entries(const engine_args& args)
{
    std::string text;
    for (int i = 0; i < ENGINE_ARGS_SIZE && args.entry[i] != NULL; ++i)
        text += (i ? "|" : "") + std::string(args.entry[i]);
    return text;
}

}  // namespace

// Source names with a drive and without '~' need no file system, so these
// rows hold on any machine.
TEST(RavickEngineArgs, FormatOptionGoesBeforeTheFirstWordThatIsNoOption)
{
    const struct {
        const char* pending;
        std::vector<const char*> words;
        const char* list;
        const char* source;
    } cases[] = {
        {"&latex", {"c:\\Docs\\Paper.TEX"}, "E|&latex|c:/docs/paper.tex", "c:/docs/paper.tex"},
        {"&latex", {"-ini", "c:\\docs\\paper.tex"}, "E|-ini|&latex|c:/docs/paper.tex", "c:/docs/paper.tex"},
        {"&latex", {"c:\\docs\\paper.tex", "-ini"}, "E|&latex|c:/docs/paper.tex|-ini", "c:/docs/paper.tex"},
        {"&latex", {"\\nonstopmode\\input", "c:\\docs\\paper.tex"},
         "E|&latex|\\nonstopmode\\input|c:/docs/paper.tex", "c:/docs/paper.tex"},
        // Only options: the pending format never reaches the engine.
        {"-fmt=latex", {"-ini", "-halt-on-error"}, "E|-ini|-halt-on-error", ""},
        // The format program replaced the engine: nothing to insert.
        {NULL, {"-ini", "c:\\docs\\paper.tex"}, "E|-ini|c:/docs/paper.tex", "c:/docs/paper.tex"},
        {"&latex", {"d:Paper.tex"}, "E|&latex|d:paper.tex", "d:paper.tex"},
        {"&latex", {}, "E", ""},
        // Each source file keeps its own name; the last one is the source.
        {"&latex", {"c:\\A.tex", "c:\\B.tex"}, "E|&latex|c:/a.tex|c:/b.tex", "c:/b.tex"},
    };
    for (const auto& c : cases) {
        static engine_args args;
        source_name source;
        ASSERT_EQ(build_engine_args(&args, "E", c.pending, c.words.data(),
                                    (int)c.words.size(), &source),
                  MSG_NONE)
            << c.list;
        EXPECT_EQ(joined_entries(args), c.list);
        EXPECT_STREQ(source.name, c.source) << c.list;
    }
}

TEST(RavickEngineArgs, SourceRecordKeepsItsDotsAfterSlashConversion)
{
    static engine_args args;
    source_name source;
    const char* words[] = {"c:\\My.Dir\\My.Paper.tex"};
    ASSERT_EQ(build_engine_args(&args, "E", NULL, words, 1, &source), MSG_NONE);
    EXPECT_STREQ(source.name, "c:/my.dir/my.paper.tex");
    EXPECT_EQ(source.first_dot, 12);
    EXPECT_EQ(source.last_dot, 18);
}

TEST(RavickEngineArgs, ListHoldsAtMostFifteenEntries)
{
    const struct {
        int options;
        const char* pending;
        bool fits;
    } cases[] = {
        {14, NULL, true},       // engine + 14 = 15 entries
        {14, "&latex", false},  // the format option would not fit before the source
        {13, "&latex", true},
        {15, NULL, false},
        {40, NULL, false},
    };
    for (const auto& c : cases) {
        // Options, then one source file: the format goes before it.
        std::vector<const char*> words(c.options - 1, "-x");
        words.push_back("c:\\paper.tex");
        static engine_args args;
        memset(&args, 0xbd, sizeof args);
        source_name source;
        EXPECT_EQ(build_engine_args(&args, "E", c.pending, words.data(),
                                    (int)words.size(), &source),
                  c.fits ? MSG_NONE : MSG_TOO_LONG_ARGUMENTS)
            << c.options << " words";
        if (c.fits) {
            EXPECT_EQ(args.entry[ENGINE_ARGS_SIZE - 1], nullptr);
        }
    }
}

TEST(RavickEngineArgs, SourceNameThatDoesNotFitIsRefused)
{
    const struct {
        size_t length;
        ravick_message message;
    } cases[] = {
        {259, MSG_NONE},
        {260, MSG_NO_LONG_NAME},
        {1000, MSG_NO_LONG_NAME},
    };
    for (const auto& c : cases) {
        std::string word = "c:" + std::string(c.length - 6, 'a') + ".tex";
        static engine_args args;
        source_name source;
        const char* words[] = {word.c_str()};
        EXPECT_EQ(build_engine_args(&args, "E", NULL, words, 1, &source), c.message)
            << c.length;
    }
}

TEST(RavickEngineArgs, DoubleByteSecondBytesAreNeitherSeparatorsNorShortNames)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "needs code page 932";
    // 0x95 0x5C ends the directory name and 0x83 0x7E is a katakana whose
    // second byte is '~': neither may be taken for a separator or a short
    // name, so no lookup happens and the slashes convert around them. The
    // full-width capital 0x82 0x60 is lowered to 0x82 0x81.
    static engine_args args;
    source_name source;
    const char* words[] = {"C:\\\x95\x5c\\\x83\x7e\x82\x60.TEX"};
    ASSERT_EQ(build_engine_args(&args, "E", NULL, words, 1, &source), MSG_NONE);
    EXPECT_STREQ(source.name, "c:/\x95\x5c/\x83\x7e\x82\x81.tex");
    EXPECT_EQ(source.first_dot, 10);
}

TEST(RavickEngineArgs, DoubleByteCharacterTheLocaleCannotLowerFails)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "needs code page 932";
    // 0x81 0x2F is no character of code page 932: lower-casing fails.
    static engine_args args;
    source_name source;
    const char* words[] = {"c:\\\x81\x2f.tex"};
    EXPECT_EQ(build_engine_args(&args, "E", NULL, words, 1, &source), MSG_NO_LONG_NAME);
}
