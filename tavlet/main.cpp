// tavlet: started by the TeX engine through TEXEDIT when the user chooses
// to edit an error; records the error's file name and line in the status
// file with Exec_Flag, and exits with that flag.
#include "error_hook.h"
#include "platform.h"
#include "status_file.h"

static const char FALLBACK_PROGRAM_NAME[] = "tavlet";

static void print_usage(const char* program)
{
    plat_write_stderr(program);
    plat_write_stderr(": ");
    plat_write_stderr(TAVLET_USAGE);
    plat_write_stderr("\n");
}

int main(int argc, char** argv)
{
    // Arguments that cannot be read are no usable file name and line.
    if (plat_start(&argc, &argv) != PLAT_OK) {
        argc = 0;
        argv = NULL;
    }
    const char* program = argc > 0 ? argv[0] : FALLBACK_PROGRAM_NAME;

    char status_path[TEXT_SIZE];
    const char* status_file = locate_status_file(status_path) ? status_path : NULL;

    tavlet_result result = result_for_argument_count(argc > 0 ? argc - 1 : 0);
    if (result == TAVLET_RECORDED) {
        convert_error_file_name(argv[1]);
        record_error(status_file, result, argv[1], argv[2]);
    } else {
        print_usage(program);
        record_error(status_file, result, NULL, NULL);
    }
    return result;
}
