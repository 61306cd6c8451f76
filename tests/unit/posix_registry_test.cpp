// The posix backend's registry tree against the behaviour of the Windows
// registry functions (as seen under Wine): sizes, order, case and the
// escaping that keeps every key name inside the tree.
#ifndef _WIN32
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "mbtext.h"
#include "platform.h"
#include "posix_test_dir.h"

namespace {

const unsigned char SENTINEL = 0xbd;

class PosixRegistry : public PosixTempDir {
protected:
    void SetUp() override
    {
        PosixTempDir::SetUp();
        make_dir("registry");
        setenv("QUILLBAY_REGISTRY", native("registry").c_str(), 1);
        ASSERT_EQ(plat_reg_create(PLAT_HKCU, "Software\\Test", &key_), PLAT_OK);
    }
    void TearDown() override
    {
        plat_reg_close(key_);
        unsetenv("QUILLBAY_REGISTRY");
        PosixTempDir::TearDown();
    }
    std::string file(const std::string& relative) const
    {
        FILE* f = fopen(native(relative).c_str(), "rb");
        if (f == nullptr)
            return "<absent>";
        std::string data;
        char chunk[512];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, f)) > 0)
            data.append(chunk, got);
        fclose(f);
        return data;
    }
    void set(const char* name, uint32_t type, const std::string& data)
    {
        ASSERT_EQ(plat_reg_set_value(key_, name, type, data.data(), (uint32_t)data.size()), PLAT_OK)
            << name;
    }
    void create(const char* path)
    {
        plat_key key;
        ASSERT_EQ(plat_reg_create(PLAT_HKCU, path, &key), PLAT_OK) << path;
        plat_reg_close(key);
    }
    std::vector<std::string> subkeys(plat_key key)
    {
        std::vector<std::string> names;
        char name[TEXT_SIZE];
        uint32_t length = sizeof name;
        for (uint32_t i = 0; plat_reg_enum_key(key, i, name, &length) == PLAT_OK; ++i) {
            names.push_back(name);
            length = sizeof name;
        }
        return names;
    }
    plat_key key_ = nullptr;
    const std::string key_dir_ = "registry/HKEY_CURRENT_USER/Software/Test";
};

TEST_F(PosixRegistry, KeysMatchWithoutRegardToCaseAndKeepTheirOwn)
{
    create("Software\\Test\\MixedCase\\Inner");
    const struct {
        const char* path;
        int status;
    } cases[] = {
        {"software\\TEST\\mixedcase\\INNER", PLAT_OK},
        {"Software\\\\Test\\MixedCase\\\\Inner\\", PLAT_OK},   // empty names are skipped
        {"", PLAT_OK},                                         // the hive itself
        {"Software\\Test\\Missing", PLAT_NOT_FOUND},
        {"Software\\Test\\MixedCase\\Inner\\Deeper", PLAT_NOT_FOUND},
        {"\\Software\\Test", PLAT_BAD_NAME},
    };
    for (const auto& c : cases) {
        plat_key key = reinterpret_cast<plat_key>(&key_);
        EXPECT_EQ(plat_reg_open(PLAT_HKCU, c.path, &key), c.status) << c.path;
        if (c.status == PLAT_OK) {
            plat_reg_close(key);
        } else {
            EXPECT_EQ(key, nullptr) << c.path;
        }
    }
    // Creating again under another case finds the same key.
    create("SOFTWARE\\test\\MIXEDCASE");
    EXPECT_EQ(subkeys(key_), std::vector<std::string>{"MixedCase"});
    EXPECT_EQ(file(key_dir_ + "/MixedCase/Inner/values.reg"), "<absent>");
}

TEST_F(PosixRegistry, SubKeysEnumerateInLowerCaseOrder)
{
    for (const char* name : {"zeta", "Alpha", "beta", "_u", "B2", "[x"})
        create((std::string("Software\\Test\\") + name).c_str());
    EXPECT_EQ(subkeys(key_), (std::vector<std::string>{"[x", "_u", "Alpha", "B2", "beta", "zeta"}));

    char name[8];
    const struct {
        uint32_t index, capacity;
        int status;
        uint32_t length;
        const char* text;
    } cases[] = {
        {2, 6, PLAT_OK, 5, "Alpha"},          // exactly fits with its terminator
        {2, 5, PLAT_MORE_DATA, 5, ""},        // one short
        {2, 0, PLAT_MORE_DATA, 5, nullptr},
        {6, 8, PLAT_NO_MORE_ITEMS, 8, ""},
    };
    for (const auto& c : cases) {
        memset(name, SENTINEL, sizeof name);
        uint32_t length = c.capacity;
        EXPECT_EQ(plat_reg_enum_key(key_, c.index, name, &length), c.status) << c.capacity;
        EXPECT_EQ(length, c.length) << c.capacity;
        if (c.text != nullptr) {
            EXPECT_STREQ(name, c.text) << c.capacity;
        } else {
            EXPECT_EQ((unsigned char)name[0], SENTINEL);
        }
    }
}

TEST_F(PosixRegistry, QueryValueReportsSizesAsWindowsDoes)
{
    const struct {
        const char* name;
        uint32_t type;
        std::string stored;
        int capacity;              // -1: no data buffer
        int status;
        uint32_t size;
        std::string written;       // the bytes written; the rest stays untouched
    } cases[] = {
        {"sz", PLAT_REG_SZ, std::string("abc\0", 4), 20, PLAT_OK, 4, std::string("abc\0", 4)},
        {"sz", PLAT_REG_SZ, std::string("abc\0", 4), 4, PLAT_OK, 4, std::string("abc\0", 4)},
        {"sz", PLAT_REG_SZ, std::string("abc\0", 4), 3, PLAT_MORE_DATA, 4, ""},
        {"sz", PLAT_REG_SZ, std::string("abc\0", 4), -1, PLAT_OK, 4, ""},
        // Stored without terminator: returned as stored, with a zero behind
        // it only where the buffer has room.
        {"bare", PLAT_REG_SZ, "b", 20, PLAT_OK, 1, std::string("b\0", 2)},
        {"bare", PLAT_REG_SZ, "b", 1, PLAT_OK, 1, "b"},
        {"bare", PLAT_REG_SZ, "b", 0, PLAT_MORE_DATA, 1, ""},
        {"empty", PLAT_REG_SZ, "", 10, PLAT_OK, 0, ""},
        {"zero", PLAT_REG_SZ, std::string("\0", 1), 10, PLAT_OK, 1, std::string("\0", 1)},
        {"inner", PLAT_REG_SZ, std::string("a\0b\0", 4), 10, PLAT_OK, 4, std::string("a\0b\0", 4)},
        {"multi", PLAT_REG_MULTI_SZ, std::string("a\0b\0\0", 5), 10, PLAT_OK, 5, std::string("a\0b\0\0", 5)},
        {"path", PLAT_REG_EXPAND_SZ, std::string("%T%\\x\0", 7), 7, PLAT_OK, 7, std::string("%T%\\x\0", 7)},
        {"num", PLAT_REG_DWORD, std::string("\x0a\0\0\0", 4), 4, PLAT_OK, 4, std::string("\x0a\0\0\0", 4)},
        {"short", PLAT_REG_DWORD, std::string("\x01\0", 2), 10, PLAT_OK, 2, std::string("\x01\0", 2)},
        {"bin", PLAT_REG_BINARY, std::string("\0\xff\"\\", 4), 4, PLAT_OK, 4, std::string("\0\xff\"\\", 4)},
        {"bin", PLAT_REG_BINARY, std::string("\0\xff\"\\", 4), 3, PLAT_MORE_DATA, 4, ""},
        {"", PLAT_REG_SZ, std::string("default\0", 8), 20, PLAT_OK, 8, std::string("default\0", 8)},
    };
    for (const auto& c : cases) {
        set(c.name, c.type, c.stored);
        unsigned char data[32];
        memset(data, SENTINEL, sizeof data);
        uint32_t type = 99, size = (uint32_t)c.capacity;
        EXPECT_EQ(plat_reg_query_value(key_, c.name, &type, c.capacity < 0 ? nullptr : data, &size),
                  c.status) << c.name << " cap " << c.capacity;
        EXPECT_EQ(size, c.size) << c.name << " cap " << c.capacity;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(std::string((char*)data, c.written.size()), c.written) << c.name;
        EXPECT_EQ(data[c.written.size()], SENTINEL) << c.name << " cap " << c.capacity;
    }
    // NULL and "" both name the default value.
    uint32_t size = 0;
    EXPECT_EQ(plat_reg_query_value(key_, nullptr, nullptr, nullptr, &size), PLAT_OK);
    EXPECT_EQ(size, 8u);

    uint32_t type = 99;
    size = 4;
    EXPECT_EQ(plat_reg_query_value(key_, "missing", &type, nullptr, &size), PLAT_NOT_FOUND);
    EXPECT_EQ(type, (uint32_t)PLAT_REG_NONE);
    EXPECT_EQ(size, 4u);
}

TEST_F(PosixRegistry, ValuesEnumerateInLowerCaseOrderWithSizeRules)
{
    set("abc", PLAT_REG_SZ, std::string("xyz\0", 4));
    set("_v", PLAT_REG_SZ, std::string("\0", 1));
    set("Bv", PLAT_REG_DWORD, std::string("\1\0\0\0", 4));
    set("ABC", PLAT_REG_SZ, std::string("new\0", 4));   // replaces, keeps "abc"

    const struct {
        uint32_t index;
        uint32_t name_capacity;
        int data_capacity;         // -1: no data buffer
        int status;
        uint32_t name_length, data_length;
        const char* name;          // expected name; nullptr: left untouched
        std::string data;
    } cases[] = {
        {0, 20, 20, PLAT_OK, 2, 1, "_v", std::string("\0", 1)},
        {1, 4, 4, PLAT_OK, 3, 4, "abc", std::string("new\0", 4)},      // both exactly fit
        {1, 3, 4, PLAT_MORE_DATA, 3, 4, "", ""},                       // name one short
        {1, 4, 3, PLAT_MORE_DATA, 3, 4, "", ""},                       // data one short
        {1, 4, -1, PLAT_OK, 3, 4, "abc", ""},
        {1, 0, 20, PLAT_MORE_DATA, 3, 4, nullptr, ""},
        {2, 20, 20, PLAT_OK, 2, 4, "Bv", std::string("\1\0\0\0", 4)},
        {3, 20, 20, PLAT_NO_MORE_ITEMS, 20, 20, "", ""},
    };
    for (const auto& c : cases) {
        char name[32];
        unsigned char data[32];
        memset(name, SENTINEL, sizeof name);
        memset(data, SENTINEL, sizeof data);
        uint32_t name_length = c.name_capacity, data_length = (uint32_t)c.data_capacity, type = 99;
        EXPECT_EQ(plat_reg_enum_value(key_, c.index, name, &name_length, &type,
                                      c.data_capacity < 0 ? nullptr : data, &data_length),
                  c.status) << c.index << "/" << c.name_capacity << "/" << c.data_capacity;
        EXPECT_EQ(name_length, c.name_length) << c.index << "/" << c.name_capacity;
        if (c.data_capacity >= 0) {
            EXPECT_EQ(data_length, c.data_length) << c.index << "/" << c.data_capacity;
        }
        if (c.name != nullptr) {
            EXPECT_STREQ(name, c.name) << c.index << "/" << c.name_capacity;
        } else {
            EXPECT_EQ((unsigned char)name[0], SENTINEL);
        }
        EXPECT_EQ(std::string((char*)data, c.data.size()), c.data) << c.index;
        EXPECT_EQ(data[c.data.size()], SENTINEL) << c.index << "/" << c.data_capacity;
    }
}

TEST_F(PosixRegistry, InfoCountsLengthsInUtf16Units)
{
    create("Software\\Test\\Alpha");
    create("Software\\Test\\b");
    set("aa", PLAT_REG_SZ, "b");                          // 1 character: 2 bytes
    set("x", PLAT_REG_SZ, std::string("a\0b\0", 4));      // 8 bytes
    set("m", PLAT_REG_MULTI_SZ, std::string("a\0b\0\0", 5));   // 10 bytes
    set("Long", PLAT_REG_BINARY, "123456789");            // 9 bytes as they are
    uint32_t subkeys, max_subkey, values, max_name, max_data;
    ASSERT_EQ(plat_reg_query_info(key_, &subkeys, &max_subkey, &values, &max_name, &max_data), PLAT_OK);
    EXPECT_EQ(subkeys, 2u);
    EXPECT_EQ(max_subkey, 5u);
    EXPECT_EQ(values, 4u);
    EXPECT_EQ(max_name, 4u);
    EXPECT_EQ(max_data, 10u);
    EXPECT_EQ(plat_reg_query_info(key_, nullptr, nullptr, nullptr, nullptr, nullptr), PLAT_OK);
}

TEST_F(PosixRegistry, DoubleByteNamesCountAsCharacters)
{
    if (mb_code_page() != 932)
        GTEST_SKIP() << "code page 932 only";
    // "アイ": four bytes, two characters; 0x5C as a second byte is no
    // separator ("ソ" is 0x83 0x5C).
    create("Software\\Test\\\x83\x41\x83\x43");
    create("Software\\Test\\\x83\x5C");
    set("\x83\x41", PLAT_REG_SZ, std::string("\x83\x41\x83\x43\0", 5));
    uint32_t max_subkey, max_name, max_data;
    ASSERT_EQ(plat_reg_query_info(key_, nullptr, &max_subkey, nullptr, &max_name, &max_data), PLAT_OK);
    EXPECT_EQ(max_subkey, 2u);
    EXPECT_EQ(max_name, 1u);
    EXPECT_EQ(max_data, 6u);
    EXPECT_EQ(file(key_dir_ + "/values.reg"), "\"\xE3\x82\xA2\"=\"\xE3\x82\xA2\xE3\x82\xA4\"\n");
    EXPECT_EQ(file(key_dir_ + "/\xE3\x82\xBD/values.reg"), "<absent>");
    EXPECT_EQ(subkeys(key_), (std::vector<std::string>{"\x83\x41\x83\x43", "\x83\x5C"}));
    // A lead byte without its second byte is no text of the code page.
    plat_key key;
    EXPECT_EQ(plat_reg_create(PLAT_HKCU, "Software\\Test\\bad\x83", &key), PLAT_BAD_NAME);
    EXPECT_EQ(plat_reg_set_value(key_, "bad\x83", PLAT_REG_SZ, "x", 2), PLAT_BAD_NAME);
}

TEST_F(PosixRegistry, ValuesFileIsUtf8RegeditText)
{
    if (mb_code_page() != 1252)
        GTEST_SKIP() << "code page 1252 only";
    set(nullptr, PLAT_REG_SZ, std::string("d\0", 2));
    set("Caf\xe9", PLAT_REG_SZ, std::string("\"q\" \\ \xe9\0", 8));
    set("n", PLAT_REG_DWORD, std::string("\x0a\0\0\0", 4));
    set("bin", PLAT_REG_BINARY, std::string("\x01\xff", 2));
    set("bare", PLAT_REG_SZ, "\xe9");
    set("lines", PLAT_REG_SZ, std::string("a\r\nb\0", 5));
    set("multi", PLAT_REG_MULTI_SZ, std::string("a\0\0", 3));
    EXPECT_EQ(file(key_dir_ + "/values.reg"),
              "@=\"d\"\n"
              "\"bare\"=hex(1):c3,a9\n"
              "\"bin\"=hex:01,ff\n"
              "\"Caf\xc3\xa9\"=\"\\\"q\\\" \\\\ \xc3\xa9\"\n"
              "\"lines\"=hex(1):61,0d,0a,62,00\n"
              "\"multi\"=hex(7):61,00,00\n"
              "\"n\"=dword:0000000a\n");

    // A file written by hand: a header, comments, a continued hex list, a
    // broken line; names in any order.
    make_file(key_dir_ + "/values.reg",
              "REGEDIT4\r\n\r\n; notes\r\n\"z\"=\"last\"\r\n\"b\"=hex:01,\\\r\n  02,03\r\n"
              "\"broken\"=\"no end\r\n@=dword:7\r\n");
    const struct {
        const char* name;
        uint32_t type;
        std::string data;
    } cases[] = {
        {"", PLAT_REG_DWORD, std::string("\7\0\0\0", 4)},
        {"b", PLAT_REG_BINARY, "\1\2\3"},
        {"z", PLAT_REG_SZ, std::string("last\0", 5)},
    };
    uint32_t values;
    ASSERT_EQ(plat_reg_query_info(key_, nullptr, nullptr, &values, nullptr, nullptr), PLAT_OK);
    EXPECT_EQ(values, 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        char name[16], data[16];
        uint32_t name_length = sizeof name, data_length = sizeof data, type;
        ASSERT_EQ(plat_reg_enum_value(key_, i, name, &name_length, &type, data, &data_length), PLAT_OK);
        EXPECT_STREQ(name, cases[i].name);
        EXPECT_EQ(type, cases[i].type) << i;
        EXPECT_EQ(std::string(data, data_length), cases[i].data) << i;
    }
}

TEST_F(PosixRegistry, EveryKeyNameStaysInsideItsParent)
{
    const char* const names[] = {"..", ".", "a/b", "values.reg", "VALUES.REG", "%41", ".hidden", "\x01"};
    for (const char* name : names)
        create((std::string("Software\\Test\\") + name).c_str());
    plat_key key;
    ASSERT_EQ(plat_reg_open(PLAT_HKCU, "Software\\Test\\..", &key), PLAT_OK);
    ASSERT_EQ(plat_reg_set_value(key, "v", PLAT_REG_SZ, "x", 2), PLAT_OK);
    plat_reg_close(key);

    // Each is a key of its own (the two spellings of values.reg are one).
    EXPECT_EQ(subkeys(key_),
              (std::vector<std::string>{"\x01", "%41", ".", "..", ".hidden", "a/b", "values.reg"}));
    // Nothing appeared outside the parent's directory, and the parent's
    // own values file is still the file it was.
    EXPECT_EQ(file("registry/HKEY_CURRENT_USER/Software/values.reg"), "<absent>");
    EXPECT_EQ(file("a/b"), "<absent>");
    DIR* dir = opendir(native("registry/HKEY_CURRENT_USER/Software").c_str());
    ASSERT_NE(dir, nullptr);
    int entries = 0;
    while (struct dirent* entry = readdir(dir))
        entries += entry->d_name[0] != '.';
    closedir(dir);
    EXPECT_EQ(entries, 1);
    set("own", PLAT_REG_SZ, std::string("y\0", 2));
    EXPECT_EQ(file(key_dir_ + "/values.reg"), "\"own\"=\"y\"\n");
}

TEST_F(PosixRegistry, DeleteFollowsWindowsRules)
{
    create("Software\\Test\\Parent\\Child");
    plat_key child;
    ASSERT_EQ(plat_reg_open(PLAT_HKCU, "Software\\Test\\Parent\\Child", &child), PLAT_OK);
    ASSERT_EQ(plat_reg_set_value(child, "v", PLAT_REG_DWORD, "\1\0\0\0", 4), PLAT_OK);

    const struct {
        const char* path;
        int status;
    } steps[] = {
        {"Software\\Test\\Parent", PLAT_ACCESS_DENIED},   // still has a sub-key
        {"software\\test\\parent\\CHILD", PLAT_OK},        // values go with it
        {"Software\\Test\\Parent\\Child", PLAT_NOT_FOUND},
        {"Software\\Test\\Parent\\", PLAT_OK},
        {"", PLAT_ACCESS_DENIED},                           // the hive itself
        {"\\Software", PLAT_BAD_NAME},
    };
    for (const auto& step : steps)
        EXPECT_EQ(plat_reg_delete_key(PLAT_HKCU, step.path), step.status) << step.path;

    // A handle to a deleted key fails cleanly and recreates nothing.
    uint32_t size = 4;
    EXPECT_NE(plat_reg_query_value(child, "v", nullptr, nullptr, &size), PLAT_OK);
    EXPECT_NE(plat_reg_set_value(child, "w", PLAT_REG_SZ, "x", 2), PLAT_OK);
    plat_reg_close(child);
    EXPECT_EQ(subkeys(key_), std::vector<std::string>{});

    set("a", PLAT_REG_SZ, std::string("1\0", 2));
    set("b", PLAT_REG_SZ, std::string("2\0", 2));
    EXPECT_EQ(plat_reg_delete_value(key_, "A"), PLAT_OK);
    EXPECT_EQ(plat_reg_delete_value(key_, "a"), PLAT_NOT_FOUND);
    EXPECT_EQ(plat_reg_delete_value(key_, nullptr), PLAT_NOT_FOUND);
    EXPECT_EQ(file(key_dir_ + "/values.reg"), "\"b\"=\"2\"\n");
    EXPECT_EQ(plat_reg_delete_value(key_, "b"), PLAT_OK);
    EXPECT_EQ(plat_reg_delete_key(PLAT_HKCU, "Software\\Test"), PLAT_OK);
}

TEST_F(PosixRegistry, WritesReplaceTheValuesFileWhole)
{
    set("a", PLAT_REG_SZ, std::string("1\0", 2));
    if (geteuid() != 0) {   // root writes into any directory
        chmod(native(key_dir_).c_str(), 0555);
        EXPECT_EQ(plat_reg_set_value(key_, "b", PLAT_REG_SZ, "2", 2), PLAT_ACCESS_DENIED);
        chmod(native(key_dir_).c_str(), 0755);
    }
    EXPECT_EQ(file(key_dir_ + "/values.reg"), "\"a\"=\"1\"\n");
    set("b", PLAT_REG_SZ, std::string("2\0", 2));
    DIR* dir = opendir(native(key_dir_).c_str());
    ASSERT_NE(dir, nullptr);
    std::vector<std::string> entries;
    while (struct dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.' || strlen(entry->d_name) > 2)
            entries.push_back(entry->d_name);
    closedir(dir);
    EXPECT_EQ(entries, std::vector<std::string>{"values.reg"});
}

TEST_F(PosixRegistry, MissingRootFailsCleanly)
{
    for (const std::string& root : {native("nowhere"), native("registry/file")}) {
        make_file("registry/file");
        setenv("QUILLBAY_REGISTRY", root.c_str(), 1);
        plat_key key = reinterpret_cast<plat_key>(&key_);
        EXPECT_EQ(plat_reg_open(PLAT_HKCU, "Software", &key), PLAT_NOT_FOUND) << root;
        EXPECT_EQ(key, nullptr);
        EXPECT_EQ(plat_reg_create(PLAT_HKLM, "Software\\New", &key), PLAT_NOT_FOUND) << root;
        EXPECT_EQ(key, nullptr);
        EXPECT_EQ(plat_reg_delete_key(PLAT_HKCU, "Software"), PLAT_NOT_FOUND) << root;
    }
    EXPECT_EQ(file("nowhere"), "<absent>");
}

}  // namespace
#endif
