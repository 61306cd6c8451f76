// pathforms: writes three forms of a file's absolute path into a result INI
// file for the editor macros. Shows nothing; the exit code is the result.
#include "command_line.h"
#include "form_writer.h"
#include "pathforms_codes.h"
#include "platform.h"

int main(int argc, char** argv)
{
    // Arguments the code page cannot hold leave nothing to work on.
    if (plat_start(&argc, &argv) != PLAT_OK)
        return PATHFORMS_NO_ARGUMENT;
    pathforms_request request;
    int code = read_command_line(argc, argv, &request);
    if (code != PATHFORMS_OK)
        return code;
    return write_path_forms(request.result_file, request.file_argument);
}
