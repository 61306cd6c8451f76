#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "fake_registry.h"
#include "key_path.h"
#include "subtree_removal.h"

namespace {

const std::string Q = std::string("HKCU\\") + PRODUCT_KEY;
const std::string DELETE_FAILED = "box Failed to Delete :\n ";
const std::string OPEN_FAILED = "box Failed to Open Registry.";

// Removes HKCU\<product key><tail>; checks that the path buffer comes back
// as it went in and that every key opened was closed.
void purge(const std::string& tail, plat_root root = PLAT_HKCU)
{
    char path[KEY_PATH_SIZE];
    ASSERT_EQ(start_key_path(path, tail.c_str()), KEY_PATH_READY);
    const std::string before = path;
    remove_subtree(root, path);
    EXPECT_EQ(std::string(path), before);
    EXPECT_EQ(fake_registry::open_now(), 0);
    EXPECT_LE(fake_registry::most_open(), 1);
}

std::vector<std::string> boxes()
{
    std::vector<std::string> out;
    for (const std::string& line : fake_registry::log())
        if (line.compare(0, 4, "box ") == 0)
            out.push_back(line);
    return out;
}

// Registry paths as the message shows them: without the root.
std::string shown(const std::string& key) { return key.substr(5); }

}  // namespace

class SubtreeRemoval : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake_registry::reset();
        for (const char* key : {"\\A\\B\\C", "\\A\\B2", "\\A2", "\\FormatMenu\\WinTeX"})
            fake_registry::add(Q + key);
        fake_registry::add("HKCU\\Software\\Corve_Macro\\QuillbayBackup\\Kept");
        fake_registry::add("HKLM\\Software\\Corve_Macro\\Quillbay\\A\\B");
    }
};

TEST_F(SubtreeRemoval, DepthFirstClosingEachKeyBeforeDescending)
{
    purge("\\A");
    const std::vector<std::string> expected = {
        "open " + Q + "\\A",         "close " + Q + "\\A",
        "open " + Q + "\\A\\B",      "close " + Q + "\\A\\B",
        "open " + Q + "\\A\\B\\C",   "close " + Q + "\\A\\B\\C",
        "delete " + Q + "\\A\\B\\C", "delete " + Q + "\\A\\B",
        "open " + Q + "\\A\\B2",     "close " + Q + "\\A\\B2",
        "delete " + Q + "\\A\\B2",   "delete " + Q + "\\A",
    };
    EXPECT_EQ(fake_registry::log(), expected);
    const std::set<std::string> left = {
        "HKCU", "HKCU\\Software", "HKCU\\Software\\Corve_Macro", Q, Q + "\\A2",
        Q + "\\FormatMenu", Q + "\\FormatMenu\\WinTeX",
        "HKCU\\Software\\Corve_Macro\\QuillbayBackup",
        "HKCU\\Software\\Corve_Macro\\QuillbayBackup\\Kept",
        "HKLM", "HKLM\\Software", "HKLM\\Software\\Corve_Macro",
        "HKLM\\Software\\Corve_Macro\\Quillbay", "HKLM\\Software\\Corve_Macro\\Quillbay\\A",
        "HKLM\\Software\\Corve_Macro\\Quillbay\\A\\B",
    };
    EXPECT_EQ(fake_registry::all_keys(), left);
}

TEST_F(SubtreeRemoval, ProductKeyItselfAndOtherRoot)
{
    purge("");
    EXPECT_FALSE(fake_registry::exists(Q));
    EXPECT_TRUE(fake_registry::exists("HKCU\\Software\\Corve_Macro\\QuillbayBackup\\Kept"));
    EXPECT_TRUE(fake_registry::exists("HKLM\\Software\\Corve_Macro\\Quillbay\\A\\B"));
    EXPECT_TRUE(boxes().empty());

    purge("", PLAT_HKLM);
    EXPECT_FALSE(fake_registry::exists("HKLM\\Software\\Corve_Macro\\Quillbay"));
    EXPECT_TRUE(fake_registry::exists("HKLM\\Software\\Corve_Macro"));
}

TEST_F(SubtreeRemoval, MissingKeyShowsOneMessage)
{
    purge("\\Missing");
    EXPECT_EQ(boxes(), std::vector<std::string>{OPEN_FAILED});
    EXPECT_EQ(fake_registry::log().size(), 2u);   // the open and the box
}

// A key that cannot be worked on is left with its subtree; its siblings are
// still removed, and each ancestor reports its own failed deletion, nearest
// first.
TEST_F(SubtreeRemoval, FailuresLeaveTheKeyAndTheWalkGoesOn)
{
    const struct {
        const char* what;
        void (*plan)(const std::string&);
        std::vector<std::string> first_boxes;
    } cases[] = {
        {"open", fake_registry::fail_open, {OPEN_FAILED}},
        {"query", fake_registry::fail_query, {OPEN_FAILED}},
        {"delete", fake_registry::fail_delete, {DELETE_FAILED + shown(Q + "\\A\\B")}},
    };
    for (const auto& c : cases) {
        SetUp();
        c.plan(Q + "\\A\\B");
        purge("\\A");
        std::vector<std::string> expected = c.first_boxes;
        expected.push_back(DELETE_FAILED + shown(Q + "\\A"));
        EXPECT_EQ(boxes(), expected) << c.what;
        EXPECT_FALSE(fake_registry::exists(Q + "\\A\\B2")) << c.what;
        EXPECT_TRUE(fake_registry::exists(Q + "\\A\\B\\C") ||
                    std::string(c.what) == "delete") << c.what;
        EXPECT_TRUE(fake_registry::exists(Q + "\\A\\B")) << c.what;
    }
}

TEST_F(SubtreeRemoval, PathLimitLeavesKeySilently)
{
    // Q\Deep is 34 characters; its one sub-key's name length decides.
    const std::string deep = Q + "\\Deep";
    const size_t own = deep.size() - 5;
    const struct {
        size_t name_length;
        bool deep_left;
        bool child_left;
        std::vector<std::string> boxes;
    } cases[] = {
        // The sub-key's path is 259 characters: removed with its parent.
        {KEY_PATH_LIMIT - 2 - own, false, false, {}},
        // Its path is 260: the sub-key is left silently, so its parent
        // cannot be deleted and says so.
        {KEY_PATH_LIMIT - 1 - own, true, true, {DELETE_FAILED + shown(deep)}},
        // Path plus longest name reach 260 at the starting key itself.
        {KEY_PATH_LIMIT - own, true, true, {}},
    };
    for (const auto& c : cases) {
        fake_registry::reset();
        const std::string child = deep + "\\" + std::string(c.name_length, 'n');
        fake_registry::add(child);
        purge("\\Deep");
        EXPECT_EQ(fake_registry::exists(deep), c.deep_left) << c.name_length;
        EXPECT_EQ(fake_registry::exists(child), c.child_left) << c.name_length;
        EXPECT_EQ(boxes(), c.boxes) << c.name_length;
    }

    // Met further down: every ancestor reports, nearest first.
    fake_registry::reset();
    const std::string long_key = Q + "\\Top\\Mid\\" + std::string(200, 'm');
    fake_registry::add(long_key + "\\" + std::string(40, 'x'));
    purge("\\Top");
    EXPECT_EQ(boxes(), (std::vector<std::string>{DELETE_FAILED + shown(Q + "\\Top\\Mid"),
                                                 DELETE_FAILED + shown(Q + "\\Top")}));
    EXPECT_TRUE(fake_registry::exists(long_key + "\\" + std::string(40, 'x')));
}

// A slot whose name could not be read holds no name: it must neither be
// taken as a name nor make the walk work on the key itself again.
TEST_F(SubtreeRemoval, UnreadableSubKeyNamesAreSkipped)
{
    fake_registry::fail_enum(Q + "\\A", 0);
    purge("\\A");
    for (const std::string& line : fake_registry::log()) {
        EXPECT_EQ(line.find("XX"), std::string::npos) << line;
        EXPECT_NE(line, "open " + Q + "\\A\\");
    }
    EXPECT_TRUE(fake_registry::exists(Q + "\\A\\B\\C"));
    EXPECT_FALSE(fake_registry::exists(Q + "\\A\\B2"));
    EXPECT_EQ(boxes(), std::vector<std::string>{DELETE_FAILED + shown(Q + "\\A")});

    // Sub-keys that vanished between the count and the enumeration.
    SetUp();
    fake_registry::overcount(Q + "\\A", 2);
    purge("\\A");
    for (const std::string& line : fake_registry::log())
        EXPECT_EQ(line.find("YY"), std::string::npos) << line;
    EXPECT_FALSE(fake_registry::exists(Q + "\\A"));
    EXPECT_TRUE(boxes().empty());
}
