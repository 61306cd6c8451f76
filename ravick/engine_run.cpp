#include "engine_run.h"

#include <string.h>

#include "platform.h"
#include "status_file.h"

static const char TEXEDIT_PREFIX[] = "TEXEDIT=\"";
// What follows the macro directory's last backslash: tavlet in the tools
// folder, quoted, and the engine's placeholders for file name and line.
static const char TEXEDIT_TAIL[] = "tools\\tavlet\" %s %d";
static const char UNIX_SHELL_VARIABLE[] = "KSH_NEC_WIN95";

ravick_message build_texedit(char assignment[TEXT_SIZE])
{
    const size_t prefix_length = sizeof TEXEDIT_PREFIX - 1;
    // The locator fills a text of its own: written straight behind the
    // prefix, a long macro directory would run past the assignment.
    char status_path[TEXT_SIZE];
    if (!locate_status_file(status_path))
        return MSG_NO_STATUS_FILE;
    char* separator = mb_find_last(status_path, '\\');
    if (separator == NULL)
        return MSG_NO_STATUS_FILE;
    separator[1] = '\0';
    if (!mb_copy(assignment, TEXT_SIZE, TEXEDIT_PREFIX) ||
        !mb_append(assignment, TEXT_SIZE, status_path) ||
        !mb_append(assignment, TEXT_SIZE, TEXEDIT_TAIL)) {
        assignment[0] = '\0';
        return MSG_NO_STATUS_FILE;
    }
    if (plat_env_present(UNIX_SHELL_VARIABLE))
        mb_convert_slashes(assignment + prefix_length, true);
    return MSG_NONE;
}

ravick_message run_engine(const char* assignment, const char* const* argv,
                          char source_name_text[TEXT_SIZE])
{
    plat_env_put(assignment);

    // The engine writes its log into its current directory: the source
    // file's directory, the text before the source name's last '/'.
    char saved_dir[TEXT_SIZE];
    char* separator = mb_find_last(source_name_text, '/');
    if (separator != NULL) {
        if (plat_current_dir(saved_dir, sizeof saved_dir) != PLAT_OK)
            return MSG_SILENT;
        *separator = '\0';
        int status = plat_set_current_dir(source_name_text);
        *separator = '/';
        if (status != PLAT_OK)
            return MSG_SILENT;
    }

    int status = plat_spawn_wait(argv[0], argv);
    if (separator != NULL)
        plat_set_current_dir(saved_dir);
    return status == PLAT_OK ? MSG_NONE : spawn_failure_message(status);
}

int run_verdict(source_name* source)
{
    if (source->name[0] == '\0')
        return VERDICT_CLEAN;
    mb_convert_slashes(source->name, false);
    return log_verdict(source);
}
