// Reading the command line of pathforms.
#include "command_line.h"

#include "pathforms_codes.h"
#include "platform.h"

// The result file beside the program: the last '.' of the whole own path
// (not only of its last component) starts the new extension.
static int own_result_file(char out[TEXT_SIZE])
{
    char own[TEXT_SIZE];
    if (plat_module_path(own, sizeof own) != PLAT_OK || own[0] == '\0')
        return PATHFORMS_NO_OWN_PATH;
    char* dot = mb_find_last(own, '.');
    if (dot == NULL)
        return PATHFORMS_NO_OWN_PATH;
    dot[1] = '\0';
    // A short extension near the length limit leaves no room for "ini";
    // a cut name would be another file, so that is no usable result file.
    if (!mb_append(own, sizeof own, "ini") || !mb_copy(out, TEXT_SIZE, own))
        return PATHFORMS_NO_OWN_PATH;
    return PATHFORMS_OK;
}

static bool is_option(const char* argument)
{
    return argument[0] == '-' || argument[0] == '/';
}

int read_command_line(int argc, char** argv, pathforms_request* request)
{
    request->result_file[0] = '\0';
    request->file_argument = NULL;
    if (argc < 2)
        return PATHFORMS_NO_ARGUMENT;

    const char* first = argv[1];
    if (!is_option(first)) {
        request->file_argument = first;
        return own_result_file(request->result_file);
    }
    if (first[1] != 'd' && first[1] != 'D')
        return PATHFORMS_BAD_OPTION;

    // -dNAME carries the name in the same argument; -d NAME in the next.
    const char* name = first + 2;
    int file_index = 2;
    if (*name == '\0') {
        if (argc < 3)
            return PATHFORMS_NO_ARGUMENT;
        name = argv[2];
        file_index = 3;
    }
    // A name that does not fit is refused rather than cut to another name.
    if (!mb_copy(request->result_file, TEXT_SIZE, name))
        return PATHFORMS_NO_ARGUMENT;
    if (file_index < argc)
        request->file_argument = argv[file_index];
    return PATHFORMS_OK;
}
