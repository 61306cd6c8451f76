// The command line of pathforms over arbitrary words (the input split at
// NUL bytes; the first word is the program).
//
// Properties: the result file is always terminated within its fixed text;
// the code follows the words (1 nothing to work on, 2 an option other than
// -d, 3 no default result file) and nothing is kept on a failure; -dNAME
// and -d NAME give NAME exactly, never cut; without -d the result file is
// the program's own path with "ini" after its last '.'; the file argument is
// the word after the option (or the first word), never past the last word.
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "fuzz_check.h"
#include "mbtext.h"
#include "pathforms_codes.h"
#include "platform.h"

enum { MAX_WORDS = 8 };

struct expected_request {
    int code;
    std::string result_file;
    int file_index;   // -1: none
};

static std::string own_result_file(int* code)
{
    char own[TEXT_SIZE];
    *code = PATHFORMS_NO_OWN_PATH;
    if (plat_module_path(own, sizeof own) != PLAT_OK)
        return "";
    const char* dot = mb_find_last(own, '.');
    if (dot == NULL)
        return "";
    std::string result = std::string(own, (size_t)(dot - own) + 1) + "ini";
    if (result.size() >= TEXT_SIZE)
        return "";
    *code = PATHFORMS_OK;
    return result;
}

static expected_request reference(const std::vector<std::string>& argv)
{
    expected_request fail = {PATHFORMS_NO_ARGUMENT, "", -1};
    if (argv.size() < 2)
        return fail;
    const std::string& first = argv[1];
    if (first[0] != '-' && first[0] != '/') {
        expected_request plain = {0, "", 1};
        plain.result_file = own_result_file(&plain.code);
        return plain;
    }
    if (first[1] != 'd' && first[1] != 'D') {
        fail.code = PATHFORMS_BAD_OPTION;
        return fail;
    }
    std::string name = first.substr(2);
    size_t file_index = 2;
    if (name.empty()) {
        if (argv.size() < 3)
            return fail;
        name = argv[2];
        file_index = 3;
    }
    if (name.size() >= TEXT_SIZE)
        return fail;
    return expected_request{PATHFORMS_OK, name, file_index < argv.size() ? (int)file_index : -1};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
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

    std::unique_ptr<pathforms_request> request(new pathforms_request);
    memset(request.get(), 0xbd, sizeof *request);
    int code = read_command_line((int)argv.size(), pointers.data(), request.get());
    expected_request expected = reference(argv);
    FUZZ_CHECK(code == expected.code);
    FUZZ_CHECK(strnlen(request->result_file, TEXT_SIZE) < TEXT_SIZE);
    FUZZ_CHECK(expected.result_file == request->result_file);
    if (code == PATHFORMS_OK || code == PATHFORMS_NO_OWN_PATH)
        FUZZ_CHECK(request->file_argument ==
                   (expected.file_index < 0 ? NULL : pointers[(size_t)expected.file_index]));
    return 0;
}
