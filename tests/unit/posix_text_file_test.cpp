// The posix backend's text-mode reader: CR LF, lone CR, Ctrl-Z, NUL bytes,
// fgets limits, and CRs at the block boundaries.
#ifndef _WIN32
#include <string.h>

#include <string>
#include <vector>

#include "platform.h"
#include "posix_test_dir.h"

namespace {

class PosixTextFile : public PosixTempDir {
protected:
    // Every piece plat_text_gets hands out for content, read with size,
    // each checked for its terminator and for nothing written past size.
    std::vector<std::string> pieces(const std::string& content, int size)
    {
        make_file("t.txt", content);
        plat_text_file file;
        EXPECT_EQ(plat_text_open("t.txt", &file), PLAT_OK);
        std::vector<std::string> out;
        std::vector<char> buffer((size_t)size + 8, '\x55');
        while (plat_text_gets(file, buffer.data(), size) && out.size() < 100000) {
            size_t n = strlen(buffer.data());
            EXPECT_LT(n, (size_t)size);
            EXPECT_EQ(buffer[(size_t)size], '\x55') << "wrote past size";
            out.push_back(std::string(buffer.data(), n));
        }
        plat_text_close(file);
        return out;
    }
    // A short description of a long text for failure messages.
    static std::string shown(const std::vector<std::string>& texts)
    {
        std::string out;
        for (const std::string& t : texts)
            out += "[" + std::to_string(t.size()) + " bytes ending " +
                   (t.size() > 3 ? t.substr(t.size() - 3) : t) + "]";
        return out;
    }
};

TEST_F(PosixTextFile, TranslatesAsTextMode)
{
    const struct {
        const char* content;
        size_t length;
        int size;
        std::vector<std::string> want;
    } cases[] = {
        {"a\r\nb\r\n", 6, 100, {"a\n", "b\n"}},
        {"a\nb", 3, 100, {"a\n", "b"}},
        {"a\rb\n", 4, 100, {"a\rb\n"}},
        {"a\r", 2, 100, {"a\r"}},
        {"a\r\r\n", 4, 100, {"a\r\n"}},
        {"a\nb\x1a\nc\n", 7, 100, {"a\n", "b"}},
        {"\x1a" "abc\n", 5, 100, {}},
        {"a\r\x1a", 3, 100, {"a\r"}},
        {"", 0, 100, {}},
        {"abcd\n", 5, 3, {"ab", "cd", "\n"}},
        {"a\r\nb", 4, 2, {"a", "\n", "b"}},
        // A piece full right after a CR: CR LF is still one newline.
        {"a\r\nb", 4, 3, {"a\n", "b"}},
        {"a\rb\n", 4, 3, {"a\r", "b\n"}},
        {"a\r\r\n", 4, 3, {"a\r", "\n"}},
        {"ab\r\ncd", 6, 3, {"ab", "\n", "cd"}},
        {"a\r\x1a\n", 4, 3, {"a\r"}},
        {"abc\n", 4, 1, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got = pieces(std::string(c.content, c.length), c.size);
        EXPECT_EQ(got, c.want) << "case " << std::string(c.content, c.length) << " size " << c.size;
    }
}

TEST_F(PosixTextFile, CarriageReturnAtBlockBoundary)
{
    // The CR at each position around the end of the first (and of the
    // second) block, for the reader's block size and for half of it: CR LF
    // still joins, a lone CR still stays.
    const size_t block = 128 * 1024;
    const size_t half = block / 2;
    for (size_t at : {half - 2, half - 1, half, half + 1, 2 * half - 1,
                      block - 2, block - 1, block, block + 1, 2 * block - 1}) {
        std::string head(at, 'x');
        const struct {
            std::string tail;
            std::vector<std::string> want;
        } cases[] = {
            {"\r\ny\r\n", {head + "\n", "y\n"}},
            {"\rz\n", {head + "\rz\n"}},
            {"\r", {head + "\r"}},
            {"\r\r\n", {head + "\r\n"}},
            {"\r\x1a\n", {head + "\r"}},
        };
        for (const auto& c : cases) {
            std::vector<std::string> got = pieces(head + c.tail, 1 << 20);
            EXPECT_TRUE(got == c.want) << "CR at " << at << ": " << shown(got);
        }
        // The same with the piece full right after the CR: the next byte,
        // in the next block, still decides whether it is a newline.
        const struct {
            std::string tail;
            std::vector<std::string> want;
        } cut_cases[] = {
            {"\r\ny", {head + "\n", "y"}},
            {"\rz", {head + "\r", "z"}},
            {"\r\r\n", {head + "\r", "\n"}},
        };
        for (const auto& c : cut_cases) {
            std::vector<std::string> got = pieces(head + c.tail, (int)at + 2);
            EXPECT_TRUE(got == c.want) << "piece cut at CR at " << at << ": " << shown(got);
        }
    }
}

TEST_F(PosixTextFile, NulBytesPassThrough)
{
    make_file("t.txt", std::string("a\0b\r\nc", 7));
    plat_text_file file;
    ASSERT_EQ(plat_text_open("t.txt", &file), PLAT_OK);
    char buffer[16];
    memset(buffer, 0x55, sizeof buffer);
    ASSERT_EQ(plat_text_gets(file, buffer, sizeof buffer), 1);
    EXPECT_EQ(std::string(buffer, 5), std::string("a\0b\n\0", 5));
    ASSERT_EQ(plat_text_gets(file, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "c");
    plat_text_close(file);
}

TEST_F(PosixTextFile, LongLineComesInPieces)
{
    std::string line(5 * 1024 * 1024 + 17, 'q');
    std::vector<std::string> got = pieces(line + "\r\nend", 1000);
    std::string joined;
    for (const std::string& piece : got) {
        EXPECT_LE(piece.size(), 999u);
        joined += piece;
    }
    EXPECT_EQ(joined, line + "\nend");
    EXPECT_EQ(got.size(), (line.size() + 1 + 998) / 999 + 1);
}

TEST_F(PosixTextFile, OpenFailures)
{
    make_dir("Dir");
    make_file("Paper.LOG", "x\n");
    plat_text_file file;
    EXPECT_EQ(plat_text_open("dir", &file), PLAT_ACCESS_DENIED);
    EXPECT_EQ(plat_text_open("missing.log", &file), PLAT_NOT_FOUND);
    EXPECT_EQ(plat_text_open("missing\\paper.log", &file), PLAT_NOT_FOUND);
    ASSERT_EQ(plat_text_open((windows() + "\\paper.log").c_str(), &file), PLAT_OK);
    char buffer[8];
    EXPECT_EQ(plat_text_gets(file, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "x\n");
    EXPECT_EQ(plat_text_gets(file, buffer, sizeof buffer), 0);
    EXPECT_EQ(plat_text_gets(file, buffer, sizeof buffer), 0);
    plat_text_close(file);
}

}  // namespace
#endif
