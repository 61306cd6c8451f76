// ravick: runs a TeX engine on a source file, preferring the format's own
// program, with TEXEDIT pointing at tavlet, and records the verdict of the
// engine's log as return_virtex; the exit code is the same value.
#include "command_line.h"
#include "engine_args.h"
#include "engine_run.h"
#include "format_resolution.h"
#include "messages.h"
#include "platform.h"
#include "status_file.h"

// The name used for error lines when the command line cannot be read.
static const char FALLBACK_PROGRAM_NAME[] = "ravick";

static int fail(const char* program, ravick_message message)
{
    print_error(program, message);
    return write_result(FAILURE_RESULT);
}

int main(int argc, char** argv)
{
    char program[TEXT_SIZE];
    if (plat_start(&argc, &argv) != PLAT_OK) {
        copy_program_name(program, FALLBACK_PROGRAM_NAME);
        return fail(program, MSG_INVALID_ARGUMENTS);
    }
    copy_program_name(program, argc > 0 ? argv[0] : FALLBACK_PROGRAM_NAME);

    switch (classify_command_line(argc, argv)) {
    case COMMAND_HELP:
        plat_write_stdout(HELP_TEXT);
        return 0;
    case COMMAND_USAGE:
        return fail(program, MSG_USAGE);
    case COMMAND_INVALID:
        return fail(program, MSG_INVALID_ARGUMENTS);
    case COMMAND_RUN:
        break;
    }

    char engine_path[TEXT_SIZE];
    const char* pending_format = NULL;
    ravick_message message = resolve_engine(argv[1], argv[2], engine_path, &pending_format);
    if (message != MSG_NONE)
        return fail(program, message);

    static engine_args args;
    static source_name source;
    message = build_engine_args(&args, engine_path, pending_format, argv + 3,
                                argc - 3, &source);
    if (message != MSG_NONE)
        return fail(program, message);

    char assignment[TEXT_SIZE];
    message = build_texedit(assignment);
    if (message == MSG_NONE)
        message = run_engine(assignment, args.entry, source.name);
    if (message != MSG_NONE)
        return fail(program, message);

    return write_result(run_verdict(&source));
}
