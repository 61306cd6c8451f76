// The posix backend's code-page boundary: ANSI text to UTF-8 and back,
// the double-byte lower-casing of code page 932 (as LCMapStringA does it
// under Wine), and Unix paths as drive-Z paths.
#ifndef _WIN32
#include <string.h>

#include <string>

#include "mbtext.h"
#include "platform.h"
#include "posix/posix_encoding.h"
#include "posix/posix_paths.h"
#include "posix_test_dir.h"

namespace {

#define SKIP_UNLESS_CODE_PAGE(cp) \
    if (mb_code_page() != (cp)) GTEST_SKIP() << "needs code page " #cp

TEST(PosixEncoding, RoundTripsThroughUtf8)
{
    const struct {
        unsigned code_page;
        const char* ansi;
        const char* utf8;
    } cases[] = {
        {1252, "caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
        {1252, "\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {1252, "\x9F\xFF", "\xC5\xB8\xC3\xBF"},
        {932, "\x83\x5C\\a", "\xE3\x82\xBD\\a"},             // second byte 0x5C
        {932, "\x82\x60\x82\x81", "\xEF\xBC\xA1\xEF\xBD\x81"},   // Ａａ
        {932, "\xB1", "\xEF\xBD\xB1"},                         // half-width katakana
    };
    for (const auto& c : cases) {
        if (c.code_page != mb_code_page())
            continue;
        char out[64];
        ASSERT_EQ(posix_to_utf8(c.ansi, out, sizeof out), PLAT_OK) << c.utf8;
        EXPECT_STREQ(out, c.utf8);
        ASSERT_EQ(posix_from_utf8(c.utf8, out, sizeof out), PLAT_OK) << c.utf8;
        EXPECT_STREQ(out, c.ansi);
    }
    // Every byte of code page 1252 comes back as it was.
    if (mb_code_page() == 1252) {
        for (int b = 1; b < 256; ++b) {
            char ansi[2] = {(char)b, 0}, utf8[8], back[4];
            ASSERT_EQ(posix_to_utf8(ansi, utf8, sizeof utf8), PLAT_OK) << b;
            ASSERT_EQ(posix_from_utf8(utf8, back, sizeof back), PLAT_OK) << b;
            EXPECT_STREQ(back, ansi) << b;
        }
    }
}

TEST(PosixEncoding, RefusesWhatCannotBeRepresented)
{
    const char* not_in_code_page = mb_code_page() == 932 ? "caf\xC3\xA9"   // é
                                                         : "\xE3\x82\xBD";  // katakana
    const char* inputs[] = {not_in_code_page, "\xE2\x98\x83", "\xC3", "\xFF\xFE", "\xF0\x9F\x98\x80"};
    for (const char* utf8 : inputs) {
        char out[16];
        memset(out, 0x55, sizeof out);
        EXPECT_EQ(posix_from_utf8(utf8, out, sizeof out), PLAT_BAD_NAME) << utf8;
        EXPECT_STREQ(out, "");
    }
    if (mb_code_page() == 932) {
        char out[16];
        EXPECT_EQ(posix_to_utf8("\x83", out, sizeof out), PLAT_BAD_NAME);   // a cut character
    }
    // Buffer edges: "abc" needs 4 bytes.
    const struct {
        size_t size;
        int status;
    } sizes[] = {{5, PLAT_OK}, {4, PLAT_OK}, {3, PLAT_MORE_DATA}, {0, PLAT_MORE_DATA}};
    for (const auto& c : sizes) {
        unsigned char out[8];
        memset(out, 0xbd, sizeof out);
        EXPECT_EQ(posix_to_utf8("abc", (char*)out, c.size), c.status) << c.size;
        EXPECT_EQ(posix_from_utf8("abc", (char*)out, c.size), c.status) << c.size;
        for (size_t i = c.size; i < sizeof out; ++i)
            EXPECT_EQ(out[i], 0xbd) << "size " << c.size;
    }
}

TEST(PosixEncoding, LowerCasesDoubleByteCharactersOfCodePage932)
{
    SKIP_UNLESS_CODE_PAGE(932);
    const struct {
        unsigned in, out;
        int status;
    } cases[] = {
        {0x8260, 0x8281, PLAT_OK},   // full-width A
        {0x8279, 0x829A, PLAT_OK},   // full-width Z
        {0x8281, 0x8281, PLAT_OK},   // already small
        {0x839F, 0x83BF, PLAT_OK},   // Greek Alpha
        {0x8440, 0x8470, PLAT_OK},   // Cyrillic A
        {0x844E, 0x847E, PLAT_OK},
        {0x844F, 0x8480, PLAT_OK},   // the small letters skip 0x847F
        {0x8460, 0x8491, PLAT_OK},
        {0x8754, 0xFA40, PLAT_OK},   // Roman numeral one
        {0xFA4A, 0xFA40, PLAT_OK},
        {0x88A0, 0x88A0, PLAT_OK},   // a kanji has no case
        {0x835C, 0x835C, PLAT_OK},   // katakana so, second byte '\'
        {0x8540, 0x8540, PLAT_FAILED},   // no character there
        {0x817F, 0x817F, PLAT_FAILED},
    };
    for (const auto& c : cases) {
        unsigned char pair[2] = {(unsigned char)(c.in >> 8), (unsigned char)c.in};
        EXPECT_EQ(plat_lower_double_byte(pair), c.status) << std::hex << c.in;
        EXPECT_EQ((unsigned)(pair[0] << 8 | pair[1]), c.out) << std::hex << c.in;
    }
}

class PosixPathForms : public PosixTempDir {};

TEST_F(PosixPathForms, NativeAndWindowsPaths)
{
    make_dir("Work Files");
    make_file("Work Files/Long Chapter.tex");
    const struct {
        std::string windows;
        std::string native;
        int status;
    } cases[] = {
        {windows("WORK FILES\\long chapter.tex"), native("Work Files/Long Chapter.tex"), PLAT_OK},
        {"work files/workfi~1/x", native("Work Files/workfi~1/x"), PLAT_OK},
        {"WORKFI~1\\LONGCH~1.TEX", native("Work Files/Long Chapter.tex"), PLAT_OK},
        {"work files\\New\\file.log", native("Work Files/New/file.log"), PLAT_OK},
        {"work files\\", native("Work Files/"), PLAT_OK},
        {"z:\\", "/", PLAT_OK},
        {"c:\\windows", "", PLAT_NOT_FOUND},
        {"\\\\server\\share\\x", "", PLAT_NOT_FOUND},
        {"", "", PLAT_BAD_NAME},
    };
    for (const auto& c : cases) {
        char out[POSIX_PATH_SIZE];
        EXPECT_EQ(posix_native_path(c.windows.c_str(), out, sizeof out), c.status) << c.windows;
        EXPECT_EQ(std::string(out), c.native) << c.windows;
    }
    char small[8];
    EXPECT_EQ(posix_native_path("work files", small, sizeof small), PLAT_MORE_DATA);
    EXPECT_STREQ(small, "");

    char out[TEXT_SIZE];
    ASSERT_EQ(posix_windows_path("/", out, sizeof out), PLAT_OK);
    EXPECT_STREQ(out, "Z:\\");
    ASSERT_EQ(posix_windows_path(native("Work Files").c_str(), out, sizeof out), PLAT_OK);
    EXPECT_EQ(std::string(out), windows("Work Files"));
    EXPECT_EQ(posix_windows_path("/tmp/\xE2\x98\x83", out, sizeof out), PLAT_BAD_NAME);
    EXPECT_STREQ(out, "");
}

}  // namespace
#endif
