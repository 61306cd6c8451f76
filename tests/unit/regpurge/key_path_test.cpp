#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "key_path.h"

TEST(RegpurgeCommandLine, SelectorAndArgumentCount)
{
    const struct {
        std::vector<std::string> words;
        bool valid;
        plat_root root;
        const char* path_text;
    } cases[] = {
        {{"-c:\\FormatMenu"}, true, PLAT_HKCU, "\\FormatMenu"},
        {{"-C:\\FormatMenu"}, true, PLAT_HKCU, "\\FormatMenu"},
        {{"-c:"}, true, PLAT_HKCU, ""},
        {{"-l:\\MacroConfig"}, true, PLAT_HKLM, "\\MacroConfig"},
        {{"-L:"}, true, PLAT_HKLM, ""},
        {{"-c:Backup"}, true, PLAT_HKCU, "Backup"},   // refused later, not here
        {{"/c:\\FormatMenu"}, false, PLAT_HKCU, ""},
        {{"-x:\\FormatMenu"}, false, PLAT_HKCU, ""},
        {{"-c;\\FormatMenu"}, false, PLAT_HKCU, ""},
        {{"-c"}, false, PLAT_HKCU, ""},
        {{""}, false, PLAT_HKCU, ""},
        {{}, false, PLAT_HKCU, ""},
        {{"-c:\\A", "-c:\\B"}, false, PLAT_HKCU, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words = c.words;
        words.insert(words.begin(), "regpurge");
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(&word[0]);
        argv.push_back(nullptr);
        plat_root root = (plat_root)-1;
        const char* path_text = nullptr;
        std::string row = ::testing::PrintToString(c.words);
        ASSERT_EQ(read_command_line((int)words.size(), argv.data(), &root, &path_text), c.valid) << row;
        if (c.valid) {
            EXPECT_EQ(root, c.root) << row;
            EXPECT_STREQ(path_text, c.path_text) << row;
        }
    }
}

TEST(RegpurgeKeyPath, StaysInsideTheProductKey)
{
    const std::string product = PRODUCT_KEY;
    // The buffer holds 1299 characters: the product key and 1270 more.
    const std::string fits = "\\" + std::string(1299 - product.size() - 1, 'k');
    const struct {
        std::string path_text;
        key_path_start start;
        std::string path;
    } cases[] = {
        {"", KEY_PATH_READY, product},
        {"\\FormatMenu", KEY_PATH_READY, product + "\\FormatMenu"},
        {"\\MacroConfig\\Sub", KEY_PATH_READY, product + "\\MacroConfig\\Sub"},
        {"Backup", KEY_PATH_OUTSIDE, ""},
        {"..\\Other", KEY_PATH_OUTSIDE, ""},
        {" \\FormatMenu", KEY_PATH_OUTSIDE, ""},
        {fits, KEY_PATH_READY, product + fits},
        {fits + "k", KEY_PATH_TOO_LONG, ""},
    };
    for (const auto& c : cases) {
        char path[KEY_PATH_SIZE + 16];
        memset(path, 0xbd, sizeof path);
        EXPECT_EQ(start_key_path(path, c.path_text.c_str()), c.start) << c.path_text;
        EXPECT_EQ(std::string(path), c.path) << c.path_text;
        EXPECT_EQ((unsigned char)path[KEY_PATH_SIZE], 0xbd) << "written past the buffer";
    }
}
