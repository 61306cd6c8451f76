#include "error_hook.h"

#include "mbtext.h"
#include "status_file.h"

const char TAVLET_USAGE[] = "[Usage]: tavlet error_filename error_line";

// The engine hands over exactly a file name and a line; a file name with a
// blank arrives as more words than that.
static const int EXPECTED_ARGUMENTS = 2;

tavlet_result result_for_argument_count(int arguments)
{
    if (arguments < EXPECTED_ARGUMENTS)
        return TAVLET_TOO_FEW_ARGUMENTS;
    if (arguments > EXPECTED_ARGUMENTS)
        return TAVLET_TOO_MANY_ARGUMENTS;
    return TAVLET_RECORDED;
}

void convert_error_file_name(char* name)
{
    // A name the locale cannot lower completely is still usable: its slashes
    // are converted all the same.
    mb_lower(name);
    mb_convert_slashes(name, false);
}

void record_error(const char* status_path, tavlet_result result,
                  const char* file_name, const char* line)
{
    if (status_path == NULL)
        return;
    if (result == TAVLET_RECORDED) {
        write_status_text(status_path, SECTION_MODULE_CMD, KEY_ERROR_FILE_NAME, file_name);
        write_status_text(status_path, SECTION_MODULE_CMD, KEY_ERROR_LINE, line);
    }
    // The macros take Exec_Flag as the sign that the run's values are all
    // in place, so it is written last.
    write_status_number(status_path, SECTION_ERROR_HOOK, KEY_EXEC_FLAG, result);
}
