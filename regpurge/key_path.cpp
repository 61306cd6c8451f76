// The command line of regpurge and the key path it names.
#include "key_path.h"

#include "purge_text.h"

const char PRODUCT_KEY[] = "Software\\Corve_Macro\\Quillbay";

static const struct {
    const char* selector;
    plat_root root;
} SELECTORS[] = {
    {"-c:", PLAT_HKCU},
    {"-l:", PLAT_HKLM},
};

enum { SELECTOR_LENGTH = 3 };

bool read_command_line(int argc, char** argv, plat_root* root, const char** path_text)
{
    if (argc != 2)
        return false;
    for (const auto& entry : SELECTORS) {
        if (starts_with_ascii_nocase(argv[1], entry.selector)) {
            *root = entry.root;
            *path_text = argv[1] + SELECTOR_LENGTH;
            return true;
        }
    }
    return false;
}

key_path_start start_key_path(char path[KEY_PATH_SIZE], const char* path_text)
{
    path[0] = '\0';
    if (path_text[0] != '\0' && path_text[0] != '\\')
        return KEY_PATH_OUTSIDE;
    bounded_append(path, KEY_PATH_SIZE, PRODUCT_KEY);
    if (!bounded_append(path, KEY_PATH_SIZE, path_text)) {
        path[0] = '\0';
        return KEY_PATH_TOO_LONG;
    }
    return KEY_PATH_READY;
}
