// The posix backend's INI files against the bytes Windows' profile service
// (as Wine implements it) leaves behind: each row gives a file before, one
// write, and the file after.
#ifndef _WIN32
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>

#include "platform.h"
#include "posix_test_dir.h"

namespace {

const char* const ABSENT = "<absent>";

class PosixIni : public PosixTempDir {
protected:
    void SetUp() override
    {
        PosixTempDir::SetUp();
        make_dir("windows");
        setenv("QUILLBAY_WINDIR", native("windows").c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("QUILLBAY_WINDIR");
        PosixTempDir::TearDown();
    }
    std::string contents(const std::string& relative) const
    {
        FILE* f = fopen(native(relative).c_str(), "rb");
        if (f == nullptr)
            return ABSENT;
        std::string data;
        char chunk[512];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, f)) > 0)
            data.append(chunk, got);
        fclose(f);
        return data;
    }
    void put(const std::string& relative, const char* before)
    {
        remove(native(relative).c_str());
        if (strcmp(before, ABSENT) != 0)
            make_file(relative, before);
    }
    // The section as the caller sees it: every byte of the buffer, with the
    // untouched ones still 0xbd.
    std::string read_section(const char* section, uint32_t size, uint32_t* result)
    {
        char buffer[256];
        memset(buffer, 0xbd, sizeof buffer);
        *result = plat_ini_read_section(windows("c.ini").c_str(), section, buffer, size);
        return std::string(buffer, size + 2);
    }
};

TEST_F(PosixIni, WriteRewritesTheFileAsTheProfileServiceDoes)
{
    const struct {
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        // Creating the file, the section and the key.
        {ABSENT, "Sec", "Key", "Val", "[Sec]\r\nKey=Val\r\n"},
        {"", "a", "k", "v", "[a]\r\nk=v\r\n"},
        {"[Sec]\r\nKey=Val\r\n", "sec2", "k2", "v2", "[Sec]\r\nKey=Val\r\n[sec2]\r\nk2=v2\r\n"},
        {"junk\r\n", "a", "k", "v", "junk\r\n[a]\r\nk=v\r\n"},
        // Replacing in place, matching section and key without regard to
        // case, keeping the stored spelling.
        {"[Sec]\r\nKey=Val\r\n[b]\r\n", "SEC", "key", "V3", "[Sec]\r\nKey=V3\r\n[b]\r\n"},
        {"[a]\r\nKeY = 1\r\n", "A", "key", "2", "[a]\r\nKeY=2\r\n"},
        // A new key goes after the last line of its section.
        {"[a]\nk=1\n\n[b]\nx=2", "a", "k2", "v", "[a]\r\nk=1\r\nk2=v\r\n[b]\r\nx=2\r\n"},
        {"[a]\nk=1\n\n[b]\nx=2", "b", "y", "3", "[a]\r\nk=1\r\n[b]\r\nx=2\r\ny=3\r\n"},
        // Any rewrite drops blank lines and the text after a header's ']',
        // trims blanks around names, '=' and values, keeps comments and
        // lines without '=', and ends every line in CR LF.
        {"; top comment\r\n\r\n[Sec]  trailing\r\n; c1\r\n  key  =  old  \r\nnoeq line\r\n\r\n[Other]\r\nx=1\r\n",
         "sec", "key", "new",
         "; top comment\r\n[Sec]\r\n; c1\r\nkey=new\r\nnoeq line\r\n[Other]\r\nx=1\r\n"},
        {"  ; a = b \r\n[a]\r\n  ;c = 1  \r\n\x1a\r\nk=\xa0v\xa0\r\n\vj\f=\v1\r\n", "a", "z", "1",
         "; a=b\r\n[a]\r\n;c=1\r\nk=\xa0v\xa0\r\nj=1\r\nz=1\r\n"},
        {"\t[a] \t\r\n\tk\t=\t1\t\r\n=v\r\n k =\r\n\"q\" = \"v\"\r\n", "a", "z", "1",
         "[a]\r\nk=1\r\n=v\r\nk=\r\n\"q\"=\"v\"\r\nz=1\r\n"},
        {"[ a ]\r\nk=1\r\n", "a", "k", "5", "[a]\r\nk=5\r\n"},
        {"[a]\rk=1\rj=2\r", "a", "k", "5", "[a]\r\nk=5\r\nj=2\r\n"},
        {"[a]\r\nk=1\x1a\r\nj=2", "a", "z", "1", "[a]\r\nk=1\r\nj=2\r\nz=1\r\n"},
        {std::string("[a]\r\nk=1\0x\r\n", 11), "a", "z", "1", "[a]\r\nk=1\r\nz=1\r\n"},
        // Headers: the name runs to the last ']'; "[x" is no header; "[]"
        // makes a nameless section whose header is not written back.
        {"[a\r\nk=1\r\n", "a", "k", "5", "[a\r\nk=1\r\n[a]\r\nk=5\r\n"},
        {"[]\r\nk=1\r\n[a]x]\r\nz=1\r\n", "a", "k", "5", "k=1\r\n[a]x]\r\nz=1\r\n[a]\r\nk=5\r\n"},
        {"pre=1\r\n[a]\r\nk=1\r\n", "a", "k", "5", "pre=1\r\n[a]\r\nk=5\r\n"},
        {"[a]\r\nk=1\r\n", "", "k", "2", "k=2\r\n[a]\r\nk=1\r\n"},
        // Duplicate sections stay apart; the first one is written.
        {"[a]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n", "a", "j", "9", "[a]\r\nk=1\r\nj=9\r\n[a]\r\nk=2\r\nj=3\r\n"},
        // Names given are matched with blanks trimmed; a new name keeps the
        // blanks after it, a value loses the blanks before it only.
        {"[a]\r\nk=1\r\n", " a ", " k2 ", " v ", "[a]\r\nk=1\r\nk2 =v \r\n"},
        {"[a]\r\nk=1\r\n", "a", "k", " ", "[a]\r\nk=\r\n"},
        {"[a]\r\nk=1\r\n", "a", "", "x", "[a]\r\nk=1\r\n=x\r\n"},
        // A comment line is a key like any other for a write.
        {"[A]\r\n;k = 1\r\n", "a", ";k", "2", "[A]\r\n;k=2\r\n"},
        {"[A]\r\n;k=1\r\n", "a", "k", "2", "[A]\r\n;k=1\r\nk=2\r\n"},
        // The same value again changes nothing, not even blank lines.
        {"\r\n[a]\r\n\r\nk=1\r\n\r\n", "a", "k", "1", "\r\n[a]\r\n\r\nk=1\r\n\r\n"},
        {"\r\n[a]\r\n\r\nk=1\r\n\r\n", "A", "K", "  1", "\r\n[a]\r\n\r\nk=1\r\n\r\n"},
        // Deleting a key or a section; nothing to delete writes nothing.
        {"[a]\r\nk=1\r\n[b]\r\nk=1\r\n", "a", "K", nullptr, "[a]\r\n[b]\r\nk=1\r\n"},
        {"[a]\r\nk=1\r\n[b]\r\nk=1\r\n", "A", nullptr, nullptr, "[b]\r\nk=1\r\n"},
        {"[a]\r\nk=1\r\n", "a", nullptr, nullptr, ""},
        {"[a]\r\n\r\nk=1\r\n", "b", nullptr, nullptr, "[a]\r\n\r\nk=1\r\n"},
        {"[a]\r\n\r\nk=1\r\n", "b", "k", nullptr, "[a]\r\n\r\nk=1\r\n"},
        {ABSENT, "b", "k", nullptr, ABSENT},
        // A UTF-8 byte-order mark stays where it is.
        {"\xEF\xBB\xBF[a]\r\nk=1\r\n", "a", "z", "1", "\xEF\xBB\xBF[a]\r\nk=1\r\nz=1\r\n"},
    };
    int row = 0;
    for (const auto& c : cases) {
        ++row;
        remove(native("c.ini").c_str());
        if (c.before != ABSENT)
            make_file("c.ini", c.before);
        EXPECT_EQ(plat_ini_write(windows("c.ini").c_str(), c.section, c.key, c.value), PLAT_OK)
            << "row " << row;
        EXPECT_EQ(contents("c.ini"), c.after) << "row " << row;
    }
}

TEST_F(PosixIni, SectionListHoldsKeyLinesWithoutComments)
{
    const struct {
        const char* file;
        const char* section;
        const char* block;   // the strings, each followed by its zero
        size_t length;
    } cases[] = {
        {"; c\r\n\r\n[Sec]  x\r\n; c1\r\n  key  =  old  \r\nnoeq line\r\n\r\n[b]\r\nx=1\r\n",
         "sec", "key=old\0noeq line\0", 18},
        {"\t[a] \t\r\n\tk\t=\t1\t\r\n=v\r\n k =\r\n\"q\" = \"v\"\r\n;c=1\r\n#k = 1\r\n", "A",
         "k=1\0=v\0k=\0\"q\"=\"v\"\0#k=1\0", 23},
        {"[a]\r\nk=1\r\n[a]\r\nk=2\r\n", "a", "k=1\0", 4},
        {"x=1\r\n[a]\r\nk=1\r\n", "", "x=1\0", 4},
        {"[ a ]\r\nk=1\r\n", " a ", "", 0},
        {"[a]\r\n", "a", "", 0},
        {"[a]\r\nk=1\r\n", "b", "", 0},
    };
    int row = 0;
    for (const auto& c : cases) {
        ++row;
        put("c.ini", c.file);
        uint32_t result;
        std::string got = read_section(c.section, 100, &result);
        std::string expected(c.block, c.length);
        expected.push_back('\0');
        if (c.length == 0)
            expected.push_back('\0');   // an empty list is two zeros
        EXPECT_EQ(result, c.length) << "row " << row;
        EXPECT_EQ(got.substr(0, expected.size()), expected) << "row " << row;
        EXPECT_EQ((unsigned char)got[expected.size()], 0xbd) << "row " << row;
    }
}

TEST_F(PosixIni, SectionThatDoesNotFitIsCutAndClosedWithTwoZeros)
{
    // The whole list "ab=12\0cd\0\0" takes 10 bytes.
    const struct {
        uint32_t size;
        uint32_t result;
        std::string bytes;   // what the call wrote; the rest stays 0xbd
    } cases[] = {
        {0, 0, std::string()},
        {1, 0, std::string("\0", 1)},
        {2, 0, std::string("\0\0", 2)},
        {3, 1, std::string("a\0\0", 3)},
        {7, 5, std::string("ab=12\0\0", 7)},
        {8, 6, std::string("ab=12\0\0\0", 8)},
        {9, 7, std::string("ab=12\0c\0\0", 9)},
        {10, 8, std::string("ab=12\0cd\0\0", 10)},   // fills it to the last byte
        {11, 9, std::string("ab=12\0cd\0\0", 10)},
    };
    put("c.ini", "[a]\r\nab=12\r\ncd\r\n");
    for (const auto& c : cases) {
        uint32_t result;
        std::string got = read_section("a", c.size, &result);
        EXPECT_EQ(result, c.result) << "size " << c.size;
        EXPECT_EQ(got.substr(0, c.bytes.size()), c.bytes) << "size " << c.size;
        EXPECT_EQ(got.substr(c.bytes.size()), std::string(c.size + 2 - c.bytes.size(), '\xbd'))
            << "size " << c.size;
    }
}

// A line that begins with a NUL has no name to the service and no '=':
// it is left out of the list like a blank line, so that its empty string
// does not end the list before the keys after it.
TEST_F(PosixIni, LineWithoutNameOrValueIsNotListed)
{
    make_file("c.ini", std::string("[a]\r\nk=1\r\n\0junk\r\nb=2\r\n\0=v\r\n", 27));
    uint32_t result;
    std::string got = read_section("a", 100, &result);
    EXPECT_EQ(result, 11u);
    EXPECT_EQ(got.substr(0, 13), std::string("k=1\0b=2\0=v\0\0\xbd", 13));
    make_file("c.ini", std::string("[a]\r\n\0\r\n", 8));
    EXPECT_EQ(read_section("a", 100, &result).substr(0, 3), std::string("\0\0\xbd", 3));
    EXPECT_EQ(result, 0u);
}

TEST_F(PosixIni, MissingFileGivesAnEmptyList)
{
    uint32_t result;
    EXPECT_EQ(read_section("a", 10, &result).substr(0, 3), std::string("\0\0\xbd", 3));
    EXPECT_EQ(result, 0u);
}

TEST_F(PosixIni, BareFileNameLivesInTheWindowsDirectory)
{
    ASSERT_EQ(plat_ini_write("quill.ini", "s", "k", "v"), PLAT_OK);
    EXPECT_EQ(contents("windows/quill.ini"), "[s]\r\nk=v\r\n");
    // Found again without regard to the case of the name.
    ASSERT_EQ(plat_ini_write("QUILL.INI", "s", "k", "w"), PLAT_OK);
    EXPECT_EQ(contents("windows/quill.ini"), "[s]\r\nk=w\r\n");
    char buffer[16];
    EXPECT_EQ(plat_ini_read_section("Quill.ini", "S", buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "k=w");
}

TEST_F(PosixIni, FailedWriteLeavesTheOldFileAndNoLeftovers)
{
    EXPECT_EQ(plat_ini_write(windows("nodir\\x.ini").c_str(), "a", "k", "v"), PLAT_NOT_FOUND);

    if (geteuid() != 0) {   // root may write anything
        make_file("ro.ini", "[a]\r\nk=1\r\n", 0444);
        EXPECT_EQ(plat_ini_write(windows("ro.ini").c_str(), "a", "k", "2"), PLAT_ACCESS_DENIED);
        EXPECT_EQ(contents("ro.ini"), "[a]\r\nk=1\r\n");

        make_dir("locked");
        make_file("locked/l.ini", "[a]\r\nk=1\r\n");
        chmod(native("locked").c_str(), 0555);
        EXPECT_NE(plat_ini_write(windows("locked\\l.ini").c_str(), "a", "k", "2"), PLAT_OK);
        EXPECT_EQ(contents("locked/l.ini"), "[a]\r\nk=1\r\n");
        chmod(native("locked").c_str(), 0755);
    }

    // A directory where the file should be is never replaced.
    make_dir("dir.ini");
    EXPECT_EQ(plat_ini_write(windows("dir.ini").c_str(), "a", "k", "v"), PLAT_ACCESS_DENIED);

    // Neither the failures nor a success leave a temporary file behind.
    ASSERT_EQ(plat_ini_write(windows("ok.ini").c_str(), "a", "k", "v"), PLAT_OK);
    DIR* dir = opendir(root_.c_str());
    ASSERT_NE(dir, nullptr);
    while (struct dirent* entry = readdir(dir))
        EXPECT_TRUE(strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0 ||
                    entry->d_name[0] != '.')
            << entry->d_name;
    closedir(dir);
}

}  // namespace
#endif
