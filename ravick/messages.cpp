#include "messages.h"

#include "platform.h"

static const struct {
    ravick_message message;
    const char* text;
} message_table[] = {
    {MSG_INVALID_ARGUMENTS, "Invalid arguments are detected."},
    // The usage text starts with a newline so that it stands on lines of its
    // own below the program name.
    {MSG_USAGE, "\nUsage: ravick virtex format_opt [options] texfile .\n"
                "       Type \"ravick -help\" for more information."},
    {MSG_INVALID_FORMAT, "Invalid format specification."},
    {MSG_NO_MODULE_FILE, "Failed to get module file name."},
    {MSG_NO_LONG_NAME, "Failed to get long filename."},
    {MSG_NO_STATUS_FILE, "Failed to find dyndata.ini."},
    {MSG_NO_EXECUTABLE, "No such a executable file."},
    {MSG_TOO_LONG_ARGUMENTS, "Too long argument strings."},
    {MSG_NO_MEMORY, "No memory."},
    {MSG_UNKNOWN_ERROR, "Unknown Error."},
};

static const struct {
    int status;
    ravick_message message;
} spawn_failure_table[] = {
    {PLAT_NOT_FOUND, MSG_NO_EXECUTABLE},
    {PLAT_TOO_LONG, MSG_TOO_LONG_ARGUMENTS},
    {PLAT_NO_MEMORY, MSG_NO_MEMORY},
};

const char HELP_TEXT[] =
    "This is Ravick, for Quillbay with HIDEMARU Macro.\n"
    "\n"
    "[Usage]\n"
    " ravick virtex format_opt [options] texfile .\n"
    "\n"
    " virtex     : filename of TeX compiler,\n"
    "               e.g. \"c:\\usr\\local\\bin\\tex.exe\".\n"
    " format_opt : string to give the format file name to the above.\n"
    "              For example, \"&latex\" or \"-fmt=platex\" etc.\n"
    " [options]  : options for TeX compiler.\n"
    " texfile    : TeX source file name (or TeX command strings).\n"
    "\n"
    "[Rule]\n"
    " If \"virtex_dir\\format_filename.exe\" exists,\n"
    "  virtex is replaced to it and format_opt is removed.\n"
    " Else \"virtex format_opt ...\" is merely executed.\n"
    "\n";

const char* message_text(ravick_message message)
{
    for (const auto& row : message_table)
        if (row.message == message)
            return row.text;
    return "";
}

ravick_message spawn_failure_message(int status)
{
    for (const auto& row : spawn_failure_table)
        if (row.status == status)
            return row.message;
    return MSG_UNKNOWN_ERROR;
}

void print_error(const char* program, ravick_message message)
{
    if (message == MSG_NONE || message == MSG_SILENT)
        return;
    plat_write_stderr(program);
    plat_write_stderr(": ");
    plat_write_stderr(message_text(message));
    plat_write_stderr("\n");
    if (message == MSG_INVALID_ARGUMENTS)
        print_error(program, MSG_USAGE);
}
