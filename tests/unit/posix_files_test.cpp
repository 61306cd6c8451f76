// The posix backend's file naming: full paths as GetFullPathNameA forms
// them (cases taken from Wine), drive-Z lookup without regard to case, the
// generated 8.3 names, SearchPathA and the current directory.
#ifndef _WIN32
#include <string.h>
#include <sys/time.h>

#include <set>
#include <string>

#include "mbtext.h"
#include "platform.h"
#include "posix_test_dir.h"

namespace {

// Expands {cwd} (the test's current directory, ...\work\deep), {up} (its
// parent) and {top} (the test directory itself).
std::string expand(std::string text, const std::string& top)
{
    const std::pair<const char*, std::string> marks[] = {
        {"{cwd}", top + "\\work\\deep"}, {"{up}", top + "\\work"}, {"{top}", top}};
    for (const auto& mark : marks) {
        size_t at;
        while ((at = text.find(mark.first)) != std::string::npos)
            text.replace(at, strlen(mark.first), mark.second);
    }
    return text;
}

class PosixFiles : public PosixTempDir {};

TEST_F(PosixFiles, FullPathFormsNamesTextually)
{
    make_dir("work");
    make_dir("work/deep");
    ASSERT_EQ(plat_set_current_dir("work\\deep"), PLAT_OK);
    const struct {
        const char* name;
        const char* full;
        const char* last;   // the last component, NULL for none
    } cases[] = {
        {"a.txt", "{cwd}\\a.txt", "a.txt"},
        {"Mixed/CASE.Tex", "{cwd}\\Mixed\\CASE.Tex", "CASE.Tex"},
        {"..\\a", "{up}\\a", "a"},
        {"..", "{up}", "work"},
        {"../..", "{top}", NULL},
        {".", "{cwd}", "deep"},
        {"./", "{cwd}\\", NULL},
        {"a/b/", "{cwd}\\a\\b\\", NULL},
        {"a\\\\b", "{cwd}\\a\\b", "b"},
        {"a.", "{cwd}\\a", "a"},
        {"a. ", "{cwd}\\a", "a"},
        {"a.\\b", "{cwd}\\a\\b", "b"},
        {"a. \\b", "{cwd}\\a. \\b", "b"},
        {" a", "{cwd}\\ a", " a"},
        {"z:foo", "{cwd}\\foo", "foo"},
        {"Z:.", "{cwd}", "deep"},
        {"z:", "{cwd}\\", NULL},
        {"c:foo", "c:\\foo", "foo"},
        {"c:", "c:\\", NULL},
        {"x:/a/b", "x:\\a\\b", "b"},
        {"z:/", "z:\\", NULL},
        {"/", "Z:\\", NULL},
        {"\\", "Z:\\", NULL},
        {"\\tmp\\.\\y\\..\\z", "Z:\\tmp\\z", "z"},
        {"z:\\a\\..\\..\\b", "z:\\b", "b"},
    };
    std::string top = windows();
    // "../.." from work\deep is the test directory, whose last component is
    // its own name.
    for (const auto& c : cases) {
        char out[TEXT_SIZE];
        size_t last = 12345;
        std::string want = expand(c.full, top);
        ASSERT_EQ(plat_full_path(c.name, out, sizeof out, &last), PLAT_OK) << c.name;
        EXPECT_EQ(std::string(out), want) << c.name;
        if (c.last == NULL && strcmp(c.name, "../..") != 0) {
            EXPECT_EQ(last, (size_t)-1) << c.name;
        } else if (c.last != NULL) {
            ASSERT_NE(last, (size_t)-1) << c.name;
            EXPECT_STREQ(out + last, c.last) << c.name;
        }
    }
}

TEST_F(PosixFiles, FullPathLimitsAndBufferEdges)
{
    // Names and results of 260 characters or more are refused.
    const struct {
        size_t length;
        int status;
    } absolute[] = {{259, PLAT_OK}, {260, PLAT_TOO_LONG}, {261, PLAT_TOO_LONG}, {5000, PLAT_TOO_LONG}};
    for (const auto& c : absolute) {
        std::string name = "z:\\" + std::string(c.length - 3, 'a');
        char out[TEXT_SIZE];
        size_t last;
        EXPECT_EQ(plat_full_path(name.c_str(), out, sizeof out, &last), c.status) << c.length;
        EXPECT_EQ(strlen(out), c.status == PLAT_OK ? c.length : 0u) << c.length;
    }
    std::string cwd = windows();
    std::string fits(259 - cwd.size() - 1, 'r');
    char out[TEXT_SIZE];
    size_t last;
    EXPECT_EQ(plat_full_path(fits.c_str(), out, sizeof out, &last), PLAT_OK);
    EXPECT_EQ(strlen(out), 259u);
    EXPECT_EQ(plat_full_path((fits + "r").c_str(), out, sizeof out, &last), PLAT_TOO_LONG);

    // "z:\abcdef" needs 10 bytes: more fits, exactly fits, one short.
    const struct {
        size_t size;
        int status;
    } sizes[] = {{11, PLAT_OK}, {10, PLAT_OK}, {9, PLAT_MORE_DATA}, {1, PLAT_MORE_DATA}};
    for (const auto& c : sizes) {
        unsigned char buffer[32];
        memset(buffer, 0xbd, sizeof buffer);
        EXPECT_EQ(plat_full_path("z:\\abcdef", (char*)buffer, c.size, &last), c.status) << c.size;
        EXPECT_STREQ((char*)buffer, c.status == PLAT_OK ? "z:\\abcdef" : "") << c.size;
        for (size_t i = c.size; i < sizeof buffer; ++i)
            ASSERT_EQ(buffer[i], 0xbd) << "size " << c.size << " wrote byte " << i;
    }
}

TEST_F(PosixFiles, FindEntryMatchesWithoutRegardToCase)
{
    make_dir("Work Files");
    make_file("Work Files/Long Chapter.tex");
    make_file(".hidden");
    make_file("PAPER.TEX");
    const struct {
        const char* path;
        uint32_t attributes;
        const char* name;
        const char* short_name;
    } cases[] = {
        {"work files", 0x10, "Work Files", "WORKFI~1"},
        {"WORK FILES\\long chapter.TEX", 0x20, "Long Chapter.tex", "LONGCH~1.TEX"},
        {"workfi~1\\LONGCH~1.tex", 0x20, "Long Chapter.tex", "LONGCH~1.TEX"},
        {"paper.tex", 0x20, "PAPER.TEX", ""},
        {".hidden", 0x22, ".hidden", "HIDDEN~1"},
    };
    for (const auto& c : cases) {
        plat_find_data found;
        ASSERT_EQ(plat_find_entry(c.path, &found), PLAT_OK) << c.path;
        EXPECT_EQ(found.attributes, c.attributes) << c.path;
        EXPECT_STREQ(found.name, c.name) << c.path;
        EXPECT_STREQ(found.short_name, c.short_name) << c.path;
    }
    // Absolute forms reach the same entry.
    plat_find_data found;
    ASSERT_EQ(plat_find_entry((windows() + "/WORK FILES").c_str(), &found), PLAT_OK);
    EXPECT_STREQ(found.name, "Work Files");

    const char* missing[] = {"nothere", "work files\\nothere.tex", "PAPER.TEX\\x",
                             "work files\\", "*.tex", "pap?r.tex", "c:\\windows",
                             "Z:\\", "WORKFI~2"};
    for (const char* path : missing) {
        memset(&found, 0x55, sizeof found);
        EXPECT_EQ(plat_find_entry(path, &found), PLAT_NOT_FOUND) << path;
        EXPECT_STREQ(found.name, "") << path;
    }
}

TEST_F(PosixFiles, FindEntryFoldsNonAsciiLetters)
{
    if (mb_code_page() == 932) {
        make_file("\xEF\xBC\xA1\xEF\xBC\xA2.txt");   // full-width AB, as stored in UTF-8
        make_file("\xE3\x82\xBD.tex");               // katakana so: 0x83 0x5C in 932
        plat_find_data found;
        ASSERT_EQ(plat_find_entry("\x82\x81\x82\x82.TXT", &found), PLAT_OK);
        EXPECT_STREQ(found.name, "\x82\x60\x82\x61.txt");
        ASSERT_EQ(plat_find_entry((windows() + "\\\x83\x5c.tex").c_str(), &found), PLAT_OK);
        EXPECT_STREQ(found.name, "\x83\x5c.tex");
    } else {
        make_file("\xC3\x89lan.tex");                // É
        plat_find_data found;
        ASSERT_EQ(plat_find_entry("\xE9LAN.TEX", &found), PLAT_OK);
        EXPECT_STREQ(found.name, "\xC9lan.tex");
        EXPECT_STREQ(found.short_name, "");   // a valid 8.3 name as it is
    }
}

TEST_F(PosixFiles, ShortNamesAreUniqueAndDeterministic)
{
    const struct {
        const char* name;
        const char* short_name;
    } cases[] = {
        {"Long Chapel.tex", "LONGCH~1.TEX"},   // byte order decides the numbers
        {"Long Chapter.tex", "LONGCH~2.TEX"},
        {"a.b.c.txt", "ABC~1.TXT"},
        {"x+y=z.txt", "X_Y_Z~1.TXT"},
        {"paper.tex2", "PAPER~1.TEX"},
        {"abc.t", ""},
        {"VERYLO~1.HTM", ""},                   // a real name takes its number
        {"verylongname.html", "VERYLO~2.HTM"},
    };
    for (const auto& c : cases)
        make_file(c.name);
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            plat_find_data found;
            ASSERT_EQ(plat_find_entry(c.name, &found), PLAT_OK) << c.name;
            EXPECT_STREQ(found.short_name, c.short_name) << c.name;
        }
    }

    // Many names with the same start: all different, numbers grow into the
    // base name, and each is accepted back as input.
    make_dir("many");
    for (int i = 0; i < 12; ++i)
        make_file("many/document number " + std::to_string(i) + ".txt");
    std::set<std::string> seen;
    for (int i = 0; i < 12; ++i) {
        plat_find_data found;
        std::string name = "many\\document number " + std::to_string(i) + ".txt";
        ASSERT_EQ(plat_find_entry(name.c_str(), &found), PLAT_OK);
        EXPECT_TRUE(seen.insert(found.short_name).second) << found.short_name;
        EXPECT_LE(strlen(found.short_name), 12u);
        plat_find_data again;
        ASSERT_EQ(plat_find_entry(("many\\" + std::string(found.short_name)).c_str(), &again), PLAT_OK);
        EXPECT_STREQ(again.name, found.name);
    }
    EXPECT_TRUE(seen.count("DOCUME~1.TXT") && seen.count("DOCUM~10.TXT"));
}

TEST_F(PosixFiles, SearchPathAddsExtensionOnlyWithoutOne)
{
    make_dir("bin");
    make_dir("bin/sub");
    make_file("bin/latex.exe");
    make_file("bin/pdftex", "", 0755);
    make_file("bin/my.tool");
    make_file("tool.exe");
    std::string bin = windows("bin");
    const struct {
        const char* dir;   // "bin" for the test's bin, NULL for the standard order
        const char* name;
        const char* ext;
        int status;
        const char* found;   // below the test directory
    } cases[] = {
        {"bin", "latex", ".exe", PLAT_OK, "bin\\latex.exe"},
        {"bin", "LATEX", ".exe", PLAT_OK, "bin\\LATEX.exe"},
        {"bin", "latex.fmt", ".exe", PLAT_NOT_FOUND, NULL},
        {"bin", "my.tool", ".exe", PLAT_OK, "bin\\my.tool"},
        {"bin", "pdftex", ".exe", PLAT_OK, "bin\\pdftex"},   // the native program
        {"bin", "sub", ".exe", PLAT_NOT_FOUND, NULL},        // never a directory for it
        {"bin", "sub", NULL, PLAT_OK, "bin\\sub"},
        {NULL, "tool", ".exe", PLAT_OK, "tool.exe"},
        {NULL, "nothere", ".exe", PLAT_NOT_FOUND, NULL},
    };
    for (const auto& c : cases) {
        char out[TEXT_SIZE];
        size_t part = 999;
        std::string dir = c.dir != NULL ? bin : "";
        int status = plat_search_path(c.dir != NULL ? dir.c_str() : NULL, c.name, c.ext, out,
                                      sizeof out, &part);
        ASSERT_EQ(status, c.status) << c.name;
        if (c.found != NULL) {
            EXPECT_EQ(std::string(out), windows(c.found)) << c.name;
            const char* base = strrchr(c.found, '\\');
            EXPECT_STREQ(out + part, base != NULL ? base + 1 : c.found) << c.name;
        } else {
            EXPECT_STREQ(out, "") << c.name;
        }
    }

    // Along PATH as the Unix side writes it.
    std::string saved = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", ("/nonexistent::" + native("bin")).c_str(), 1);
    char out[TEXT_SIZE];
    size_t part;
    int status = plat_search_path(NULL, "pdftex", ".exe", out, sizeof out, &part);
    setenv("PATH", saved.c_str(), 1);
    ASSERT_EQ(status, PLAT_OK);
    EXPECT_EQ(std::string(out), windows("bin\\pdftex"));

    // A result that does not fit.
    char small[8];
    EXPECT_EQ(plat_search_path(bin.c_str(), "latex", ".exe", small, sizeof small, &part), PLAT_MORE_DATA);
    EXPECT_STREQ(small, "");
}

TEST_F(PosixFiles, CurrentDirectoryIsADriveZPath)
{
    make_dir("Work Files");
    char out[TEXT_SIZE];
    ASSERT_EQ(plat_current_dir(out, sizeof out), PLAT_OK);
    EXPECT_EQ(std::string(out), windows());
    ASSERT_EQ(plat_set_current_dir("WORK FILES"), PLAT_OK);
    ASSERT_EQ(plat_current_dir(out, sizeof out), PLAT_OK);
    EXPECT_EQ(std::string(out), windows("Work Files"));
    EXPECT_EQ(plat_set_current_dir("nothere"), PLAT_NOT_FOUND);
    EXPECT_EQ(plat_set_current_dir("c:\\"), PLAT_NOT_FOUND);
    char small[4];
    EXPECT_EQ(plat_current_dir(small, sizeof small), PLAT_MORE_DATA);
    EXPECT_STREQ(small, "");
    ASSERT_EQ(plat_set_current_dir("/"), PLAT_OK);
    ASSERT_EQ(plat_current_dir(out, sizeof out), PLAT_OK);
    EXPECT_STREQ(out, "Z:\\");
}

TEST_F(PosixFiles, FileTimeAndModulePath)
{
    make_file("Paper.tex");
    struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimes(native("Paper.tex").c_str(), times), 0);
    int64_t seconds = 0;
    ASSERT_EQ(plat_file_time("paper.TEX", &seconds), PLAT_OK);
    EXPECT_EQ(seconds, 1000000000);
    EXPECT_EQ(plat_file_time("missing.tex", &seconds), PLAT_NOT_FOUND);

    char out[TEXT_SIZE];
    ASSERT_EQ(plat_module_path(out, sizeof out), PLAT_OK);
    EXPECT_EQ(strncmp(out, "Z:\\", 3), 0) << out;
    EXPECT_NE(strstr(out, "unit_tests"), nullptr) << out;
}

}  // namespace
#endif
