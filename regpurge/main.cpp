// regpurge: removes a registry key below the product key with everything
// below it. Reports failures in message boxes; exits 1 only for a command
// line it cannot use.
#include "key_path.h"
#include "platform.h"
#include "purge_messages.h"
#include "subtree_removal.h"

int main(int argc, char** argv)
{
    plat_root root = PLAT_HKCU;
    const char* path_text = "";
    if (plat_start(&argc, &argv) != PLAT_OK || !read_command_line(argc, argv, &root, &path_text)) {
        show_message(MSG_INVALID_COMMAND_LINE);
        return PURGE_INVALID_COMMAND_LINE;
    }
    char path[KEY_PATH_SIZE];
    switch (start_key_path(path, path_text)) {
    case KEY_PATH_READY:
        remove_subtree(root, path);
        break;
    case KEY_PATH_OUTSIDE:
        // Such a key is never removed; the user sees what a key that does
        // not exist shows.
        show_message(MSG_OPEN_FAILED);
        break;
    case KEY_PATH_TOO_LONG:
        show_message(MSG_INVALID_COMMAND_LINE);
        return PURGE_INVALID_COMMAND_LINE;
    }
    return PURGE_DONE;
}
