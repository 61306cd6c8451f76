// regpurge over arbitrary words (the input split at NUL bytes; the first
// word is the program). A command line that names a key is carried out on a
// scratch registry that holds the product key with a key below it and the
// keys beside it that a path running on past the product key would reach.
//
// Properties: the command line is taken only as one "-c:"/"-l:" word; the
// key path is always terminated within its block; a ready path is the
// product key itself or the product key followed by a backslash, and
// anything else (a text that runs on, a text too long) leaves it empty; the
// removal leaves every key outside the product key in place and gives the
// path back unchanged.
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_file.h"
#include "key_path.h"
#include "platform.h"
#include "subtree_removal.h"

enum { MAX_WORDS = 4 };

// Keys beside the product key: a sibling whose name begins with the
// product key's, another sibling, and the key above them.
static const char* const OUTSIDE_KEYS[] = {
    "Software\\Corve_Macro\\QuillbayBackup\\Keep",
    "Software\\Corve_Macro\\Other",
    "Software\\Keep",
};
static const char* const INSIDE_KEYS[] = {
    "Software\\Corve_Macro\\Quillbay\\Victim\\Deep",
    "Software\\Corve_Macro\\Quillbay\\FormatMenu\\WinTeX",
};

static bool key_exists(plat_root root, const char* path)
{
    plat_key key;
    if (plat_reg_open(root, path, &key) != PLAT_OK)
        return false;
    plat_reg_close(key);
    return true;
}

static void create_key(plat_root root, const char* path)
{
    plat_key key;
    FUZZ_CHECK(plat_reg_create(root, path, &key) == PLAT_OK);
    plat_reg_close(key);
}

// The removal reports keys that do not exist in message boxes, which the
// posix backend writes to standard error; they are of no interest here.
static void remove_quietly(plat_root root, char* path)
{
    static int quiet = open("/dev/null", O_WRONLY);
    int saved = dup(2);
    dup2(quiet, 2);
    remove_subtree(root, path);
    dup2(saved, 2);
    close(saved);
}

static void check_removal(plat_root root, char* path)
{
    for (const char* key : OUTSIDE_KEYS)
        create_key(root, key);
    for (const char* key : INSIDE_KEYS)
        create_key(root, key);
    std::string before(path);
    remove_quietly(root, path);
    FUZZ_CHECK(before == path);
    for (const char* key : OUTSIDE_KEYS)
        FUZZ_CHECK(key_exists(root, key));
    if (before == PRODUCT_KEY)
        FUZZ_CHECK(!key_exists(root, PRODUCT_KEY));
}

static bool starts_with_selector(const std::string& word, char letter)
{
    return word.size() >= 3 && word[0] == '-' && (word[1] | 0x20) == letter && word[2] == ':';
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        std::string registry = std::string(fuzz_scratch_dir()) + "registry";
        mkdir(registry.c_str(), 0755);
        setenv("QUILLBAY_REGISTRY", registry.c_str(), 1);
        ready = true;
    }
    std::vector<std::string> argv(1);
    for (size_t i = 0; i < size && argv.size() <= MAX_WORDS; ++i) {
        if (data[i] == '\0')
            argv.emplace_back();
        else
            argv.back().push_back((char)data[i]);
    }
    std::vector<char*> pointers;
    for (std::string& word : argv)
        pointers.push_back(&word[0]);
    pointers.push_back(NULL);

    plat_root root = (plat_root)-1;
    const char* path_text = NULL;
    bool valid = read_command_line((int)argv.size(), pointers.data(), &root, &path_text);
    bool current_user = argv.size() == 2 && starts_with_selector(argv[1], 'c');
    bool local_machine = argv.size() == 2 && starts_with_selector(argv[1], 'l');
    FUZZ_CHECK(valid == (current_user || local_machine));
    if (!valid)
        return 0;
    FUZZ_CHECK(root == (current_user ? PLAT_HKCU : PLAT_HKLM));
    FUZZ_CHECK(path_text == pointers[1] + 3);

    std::unique_ptr<char[]> path(new char[KEY_PATH_SIZE]);
    memset(path.get(), 0xbd, KEY_PATH_SIZE);
    key_path_start start = start_key_path(path.get(), path_text);
    FUZZ_CHECK(strnlen(path.get(), KEY_PATH_SIZE) < KEY_PATH_SIZE);
    std::string text(path_text);
    std::string product(PRODUCT_KEY);
    if (!text.empty() && text[0] != '\\') {
        FUZZ_CHECK(start == KEY_PATH_OUTSIDE);
    } else if (product.size() + text.size() >= KEY_PATH_SIZE) {
        FUZZ_CHECK(start == KEY_PATH_TOO_LONG);
    } else {
        FUZZ_CHECK(start == KEY_PATH_READY);
        std::string ready_path(path.get());
        FUZZ_CHECK(ready_path == product + text);
        FUZZ_CHECK(ready_path.compare(0, product.size(), product) == 0);
        FUZZ_CHECK(ready_path.size() == product.size() || ready_path[product.size()] == '\\');
        check_removal(root, path.get());
        return 0;
    }
    FUZZ_CHECK(path[0] == '\0');
    return 0;
}
