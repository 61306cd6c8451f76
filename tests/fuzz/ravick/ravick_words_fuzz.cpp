// ravick over arbitrary command-line words. The input is the words, each
// ended by a NUL; its first byte chooses whether a format option is pending.
// The current directory is a scratch tree with long names, so that short
// names (LONGDI~1\ANOTHE~1.TEX) find real entries.
//
// Properties: every output fits its fixed text and is terminated; a long
// name is the full path (or the drive word) lower-cased as mb_lower makes
// it, its components without '~' kept; the engine list holds what the
// words call for in order, never more than 16 entries with the NULL, and a
// source entry is its long name with backslashes turned into '/' at
// character starts only; the program name is the longest run of whole
// characters of word 0 that fits.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "engine_args.h"
#include "fuzz_check.h"
#include "fuzz_file.h"
#include "long_name.h"
#include "mbtext.h"
#include "platform.h"
#include "source_name.h"

static plat_code_page_info info;

static const char ENGINE_PATH[] = "z:\\tex\\bin\\virtex.exe";
static const char FORMAT_OPTION[] = "&latex";
enum { MAX_WORDS = 24 };

static void make_scratch_tree()
{
    std::string dir = fuzz_scratch_dir();
    mkdir((dir + "Long Directory Name").c_str(), 0755);
    mkdir((dir + "Program Files").c_str(), 0755);
    static const uint8_t nothing[1] = {0};
    fuzz_write_file("Long Directory Name/Another File.TeX", nothing, 0);
    fuzz_write_file("Program Files/Paper.tex", nothing, 0);
    fuzz_write_file("Plain File Name.txt", nothing, 0);
}

// The words resolve against the scratch tree; libFuzzer itself names its
// corpus relative to the directory it was started in, so that one comes
// back after each input.
static void enter_directory(const char* dir)
{
    if (chdir(dir) != 0)
        abort();
}

// Offsets of the character starts of s.
static std::vector<size_t> character_starts(const std::string& s)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i) {
        starts.push_back(i);
        if (info.lead[(unsigned char)s[i]] && i + 1 < s.size())
            ++i;
    }
    return starts;
}

static bool has_char(const std::string& s, char c)
{
    for (size_t i : character_starts(s))
        if (s[i] == c)
            return true;
    return false;
}

// The text cut at the backslashes that are characters of their own.
static std::vector<std::string> components(const std::string& s)
{
    std::vector<std::string> parts(1);
    std::vector<size_t> starts = character_starts(s);
    size_t next = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        bool at_start = next < starts.size() && starts[next] == i;
        if (at_start)
            ++next;
        if (at_start && s[i] == '\\')
            parts.emplace_back();
        else
            parts.back().push_back(s[i]);
    }
    return parts;
}

static std::string lowered(const std::string& s, bool* complete)
{
    std::string copy = s;
    *complete = mb_lower(&copy[0]);
    return copy;
}

static std::string forward_slashes(const std::string& s)
{
    std::string out = s;
    for (size_t i : character_starts(s))
        if (out[i] == '\\')
            out[i] = '/';
    return out;
}

// Expands one word into an exactly sized block and checks the result.
// Gives whether the expansion succeeded and the long name.
static bool check_long_name(const std::string& word, std::string* long_name)
{
    std::unique_ptr<char[]> out(new char[TEXT_SIZE]);
    bool ok = expand_long_name(word.c_str(), out.get());
    if (!ok)
        return false;
    FUZZ_CHECK(strnlen(out.get(), TEXT_SIZE) < TEXT_SIZE);
    *long_name = out.get();
    bool complete = false;
    FUZZ_CHECK(lowered(*long_name, &complete) == *long_name && complete);

    bool drive = word.size() >= 2 && !info.lead[(unsigned char)word[0]] && word[1] == ':';
    if (drive && !has_char(word, '~')) {
        std::string expected = lowered(word, &complete);
        FUZZ_CHECK(complete && *long_name == expected);
        return true;
    }
    char full[TEXT_SIZE];
    size_t last = 0;
    FUZZ_CHECK(plat_full_path(word.c_str(), full, sizeof full, &last) == PLAT_OK);
    std::string expected = lowered(full, &complete);
    FUZZ_CHECK(complete);
    if (!has_char(full, '~')) {
        FUZZ_CHECK(*long_name == expected);
        return true;
    }
    // Short components take the names stored on disk; the others stay.
    std::vector<std::string> got = components(*long_name);
    std::vector<std::string> want = components(expected);
    FUZZ_CHECK(got.size() == want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        if (has_char(want[i], '~'))
            FUZZ_CHECK(!got[i].empty());
        else
            FUZZ_CHECK(got[i] == want[i]);
    }
    return true;
}

// The failure a word list gives, and the entries it gives on success.
static ravick_message reference_entries(const std::vector<std::string>& words, bool pending,
                                        std::vector<std::string>* entries,
                                        std::string* source)
{
    entries->assign(1, ENGINE_PATH);
    source->clear();
    for (const std::string& word : words) {
        bool option = word[0] == '-';
        if (!option && pending) {
            if (entries->size() >= ENGINE_ARGS_SIZE - 1)
                return MSG_TOO_LONG_ARGUMENTS;
            entries->push_back(FORMAT_OPTION);
            pending = false;
        }
        std::string entry = word;
        if (!option && word[0] != '\\') {
            if (!check_long_name(word, &entry))
                return MSG_NO_LONG_NAME;
            entry = forward_slashes(entry);
            *source = entry;
        }
        if (entries->size() >= ENGINE_ARGS_SIZE - 1)
            return MSG_TOO_LONG_ARGUMENTS;
        entries->push_back(entry);
    }
    return MSG_NONE;
}

static void check_engine_args(const std::vector<std::string>& words, bool pending)
{
    std::vector<const char*> pointers;
    for (const std::string& word : words)
        pointers.push_back(word.c_str());
    std::unique_ptr<engine_args> args(new engine_args);
    std::unique_ptr<source_name> source(new source_name);
    memset(args.get(), 0xbd, sizeof *args);
    ravick_message result =
        build_engine_args(args.get(), ENGINE_PATH, pending ? FORMAT_OPTION : NULL,
                          pointers.data(), (int)pointers.size(), source.get());

    std::vector<std::string> expected;
    std::string expected_source;
    ravick_message expected_result = reference_entries(words, pending, &expected, &expected_source);
    FUZZ_CHECK(result == expected_result);
    if (result != MSG_NONE)
        return;
    FUZZ_CHECK(expected.size() < ENGINE_ARGS_SIZE);
    for (size_t i = 0; i < expected.size(); ++i)
        FUZZ_CHECK(args->entry[i] != NULL && expected[i] == args->entry[i]);
    FUZZ_CHECK(args->entry[expected.size()] == NULL);
    FUZZ_CHECK(strnlen(source->name, TEXT_SIZE) < TEXT_SIZE);
    FUZZ_CHECK(expected_source == source->name);
    if (source->first_dot >= 0)
        FUZZ_CHECK(source->name[source->first_dot] == '.' && source->name[source->last_dot] == '.');
}

static command_kind reference_kind(const std::vector<std::string>& argv)
{
    if (argv.size() <= 1)
        return COMMAND_USAGE;
    if (argv.size() <= 3) {
        bool complete = false;
        return lowered(argv[1], &complete) == "-help" ? COMMAND_HELP : COMMAND_INVALID;
    }
    return COMMAND_RUN;
}

static void check_program_name(const std::string& word0)
{
    std::unique_ptr<char[]> program(new char[TEXT_SIZE]);
    copy_program_name(program.get(), word0.c_str());
    size_t fit = 0;
    for (size_t i : character_starts(word0)) {
        size_t step = info.lead[(unsigned char)word0[i]] && i + 1 < word0.size() ? 2 : 1;
        if (i + step > TEXT_SIZE - 1)
            break;
        fit = i + step;
    }
    FUZZ_CHECK(strnlen(program.get(), TEXT_SIZE) == fit);
    FUZZ_CHECK(word0.compare(0, fit, program.get()) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    static char start_dir[4096];
    if (!ready) {
        plat_code_page(&info);
        make_scratch_tree();
        if (getcwd(start_dir, sizeof start_dir) == NULL)
            abort();
        ready = true;
    }
    if (size == 0)
        return 0;
    bool pending = (data[0] & 1) != 0;
    std::vector<std::string> argv;
    std::string word;
    for (size_t i = 1; i < size && argv.size() < MAX_WORDS; ++i) {
        if (data[i] == '\0') {
            argv.push_back(word);
            word.clear();
        } else {
            word.push_back((char)data[i]);
        }
    }
    if (!word.empty() && argv.size() < MAX_WORDS)
        argv.push_back(word);

    std::vector<const char*> pointers;
    for (const std::string& w : argv)
        pointers.push_back(w.c_str());
    pointers.push_back(NULL);
    FUZZ_CHECK(classify_command_line((int)argv.size(), pointers.data()) == reference_kind(argv));
    check_program_name(argv.empty() ? std::string() : argv[0]);

    // The engine list is built from the words after word 0 (an empty word,
    // as "" gives, is a source file argument like any other).
    std::vector<std::string> words;
    for (size_t i = 1; i < argv.size(); ++i)
        words.push_back(argv[i]);
    enter_directory(fuzz_scratch_dir());
    check_engine_args(words, pending);
    enter_directory(start_dir);
    return 0;
}
