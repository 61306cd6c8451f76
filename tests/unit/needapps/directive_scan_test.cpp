#include <string>

#include "directive_scan.h"
#include "mbtext.h"
#include "needapps_codes.h"
#include "scratch_dir.h"

using namespace std::string_literals;

class DirectiveScan : public ScratchDir {};

// A line of n filler characters that hold no directive, '%' or '1'.
static std::string filler(size_t n)
{
    return std::string(n, 'x');
}

struct scan_case {
    const char* what;
    std::string text;
    int expected;
};

// Writes each case's text as the source and scans it.
template <size_t N>
static void check_scans(const scan_case (&cases)[N])
{
    for (const scan_case& c : cases) {
        write_file("source.tex", c.text);
        EXPECT_EQ(scan_directives("source.tex"), c.expected) << c.what;
    }
}

TEST_F(DirectiveScan, SourcesGiveTheirBits)
{
    const scan_case cases[] = {
        {"empty file", "", 0},
        {"all three", "\\bibliography{r}\n\\makeindex\n\\pdfoutput=1\n", 7},
        {"comment line", "%\\bibliography{r}\n% \\makeindex\n", 0},
        {"blanks before the comment", "   \t% \\makeindex\n", 0},
        {"comment lines do not end the scan", "% x\n\\makeindex\n", 2},
        {"escaped percent cuts the line", "50\\% \\bibliography{r}\n", 0},
        {"directive before the comment", "\\makeindex % \\bibliography\n", 2},
        {"substring \\bibliographystyle", "\\bibliographystyle{plain}\n", 1},
        {"substring \\makeindexstyle", "\\makeindexstyle\n", 2},
        {"case counts", "\\MakeIndex \\Bibliography \\PDFOutput=1\n", 0},
        {"\\pdfoutput=1", "\\pdfoutput=1\n", 4},
        {"\\pdfoutput=0", "\\pdfoutput=0\n", 0},
        {"\\pdfoutput=10", "\\pdfoutput=10\n", 4},
        {"any later 1 counts", "\\pdfoutput=0 \\def\\x{1}\n", 4},
        {"a 1 before the word does not", "1 \\pdfoutput=0\n", 0},
        {"=1 on the next line", "\\pdfoutput\n=1\n", 0},
        {"1 only after the comment cut", "\\pdfoutput=0 % 1\n", 0},
        {"commented out", "% \\pdfoutput=1\n", 0},
        {"bits are never cleared", "\\makeindex\n\\pdfoutput=0\n\n", 2},
        {"no newline at the end", "\\bibliography{r}", 1},
        {"CR LF lines", "\\bibliography{r}\r\n\\pdfoutput=1\r\n", 5},
        {"Ctrl-Z ends the file", "\\makeindex\n\x1a\\bibliography{r}\n\\pdfoutput=1\n", 2},
        {"a NUL hides the rest of its piece",
         "\\makeindex\0\\bibliography{r}\n\\pdfoutput=1\n"s, 6},
        {"all three early, garbage after",
         "\\bibliography\\makeindex\\pdfoutput1\n"s + "\0\xff\x1b\x81"s + filler(10000), 7},
        // Pieces of a long line are 259 characters each, examined alone.
        {"second piece of a commented line",
         "%" + filler(268) + "\\makeindex" + filler(21) + "\n", 2},
        {"word ending at the last character of a piece",
         filler(249) + "\\makeindex\n", 2},
        {"word straddling two pieces", filler(250) + "\\makeindex\n", 0},
        {"1 in the next piece", filler(240) + "\\pdfoutput=" + filler(8) + "1\n", 0},
        {"several megabytes in one line",
         filler(259 * 10000) + "\\makeindex" + filler(3000000) + "\n", 2},
    };
    check_scans(cases);
}

// 0x95 0x5C is one double-byte character in code page 932: its second
// byte is no backslash there and begins no word.
TEST_F(DirectiveScan, DoubleByteCharactersAreOneCharacter)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "needs code page 932";
    const scan_case cases[] = {
        {"second byte 0x5C before makeindex", "\x95\\makeindex\n", 0},
        {"second byte 0x25 is no percent", "\\makeindex\x81%\\bibliography\n", 3},
        {"lead byte alone at the end of a piece",
         filler(258) + "\x95\\makeindex\n", 2},
        // Pieces that hold double-byte characters, with directives.
        {"directive after a double-byte character", "\x82\xa0\\makeindex\n", 2},
        {"any later 1 counts", "\x82\xa0\\pdfoutput=0 \\def\\x{1}\n", 4},
        {"a 1 before the word does not", "1\x82\xa0\\pdfoutput=0\n", 0},
        {"escaped percent cuts the line", "\x82\xa0\\% \\bibliography{r}\n", 0},
        {"1 only after the comment cut", "\\pdfoutput=0\x82\xa0% 1\n", 0},
    };
    check_scans(cases);
}

TEST_F(DirectiveScan, SingleByteCodePageHasNoSecondBytes)
{
    if (mb_code_page() != 1252)
        GTEST_SKIP() << "needs code page 1252";
    const scan_case cases[] = {
        {"0x95 then a backslash", "\x95\\makeindex\n", 2},
        {"0x81 then a percent", "\\makeindex\x81%\\bibliography\n", 2},
    };
    check_scans(cases);
}

TEST_F(DirectiveScan, SourceThatCannotBeOpenedGives16)
{
    EXPECT_EQ(scan_directives("missing.tex"), NEEDAPPS_FAILED);
    write_file("folder.tex/inside", "\\makeindex\n");
    EXPECT_EQ(scan_directives("folder.tex"), NEEDAPPS_FAILED);
}

TEST_F(DirectiveScan, UnreadableSourceGives16)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    write_file("locked.tex", "\\makeindex\n");
    ASSERT_EQ(chmod("locked.tex", 0), 0);
    EXPECT_EQ(scan_directives("locked.tex"), NEEDAPPS_FAILED);
}
