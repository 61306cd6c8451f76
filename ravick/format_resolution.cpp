#include "format_resolution.h"

#include <string.h>

#include "platform.h"

static const struct {
    const char* prefix;
    size_t length;
} format_prefixes[] = {
    {"&", 1},
    {"-fmt=", 5},
    {"-progname=", 10},
};

static const char FORMAT_FILE_EXTENSION[] = ".fmt";
static const char PROGRAM_EXTENSION[] = ".exe";

const char* format_name_of(const char* format_opt)
{
    for (const auto& form : format_prefixes) {
        if (!mb_equal_nocase(format_opt, form.prefix, form.length))
            continue;
        const char* name = format_opt + form.length;
        // A prefix with nothing after it names no program to look for;
        // handing the engine a bare "&" would only make it fail later.
        return *name != '\0' ? name : NULL;
    }
    return NULL;
}

// Position of the separator that ends the engine's directory: the last
// backslash, else the last '/', else NULL.
static char* directory_end(char* path)
{
    char* end = mb_find_last(path, '\\');
    return end != NULL ? end : mb_find_last(path, '/');
}

format_result resolve_format(char engine_path[TEXT_SIZE], const char* format_name)
{
    char found[TEXT_SIZE];
    size_t file_part = 0;
    char* dir_end = directory_end(engine_path);
    if (dir_end == NULL) {
        if (plat_search_path(NULL, engine_path, PROGRAM_EXTENSION, found,
                             sizeof found, &file_part) != PLAT_OK ||
            file_part == 0 || !mb_copy(engine_path, TEXT_SIZE, found)) {
            engine_path[0] = '\0';
            return FORMAT_ENGINE_NOT_FOUND;
        }
        dir_end = engine_path + file_part - 1;
    }

    // A format given as a file ("latex.fmt") names the program "latex".
    char format_copy[TEXT_SIZE];
    if (!mb_copy(format_copy, sizeof format_copy, format_name))
        return FORMAT_NOT_REPLACED;
    char* dot = mb_find_last(format_copy, '.');
    if (dot != NULL && mb_equal_nocase(dot, FORMAT_FILE_EXTENSION, SIZE_MAX))
        *dot = '\0';

    *dir_end = '\0';
    int status = plat_search_path(engine_path, format_copy, PROGRAM_EXTENSION,
                                  found, sizeof found, &file_part);
    *dir_end = '\\';
    if (status != PLAT_OK)
        return FORMAT_NOT_REPLACED;

    // Keep the engine's directory as it was written and put the found
    // program's file name behind it.
    char replaced[TEXT_SIZE];
    size_t dir_length = (size_t)(dir_end - engine_path) + 1;
    if (!mb_copy_n(replaced, sizeof replaced, engine_path, dir_length) ||
        !mb_append(replaced, sizeof replaced, found + file_part))
        return FORMAT_NOT_REPLACED;
    memcpy(engine_path, replaced, strlen(replaced) + 1);
    return FORMAT_REPLACED;
}

ravick_message resolve_engine(const char* virtex, const char* format_opt,
                              char engine_path[TEXT_SIZE],
                              const char** pending_format)
{
    *pending_format = format_opt;
    const char* format_name = format_name_of(format_opt);
    if (format_name == NULL || strlen(format_name) >= TEXT_SIZE)
        return MSG_INVALID_FORMAT;
    if (!mb_copy(engine_path, TEXT_SIZE, virtex)) {
        engine_path[0] = '\0';
        return MSG_NO_MODULE_FILE;
    }
    switch (resolve_format(engine_path, format_name)) {
    case FORMAT_REPLACED:
        *pending_format = NULL;
        return MSG_NONE;
    case FORMAT_NOT_REPLACED:
        return MSG_NONE;
    case FORMAT_ENGINE_NOT_FOUND:
        break;
    }
    return MSG_NO_MODULE_FILE;
}
