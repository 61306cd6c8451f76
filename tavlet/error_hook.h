// tavlet's work: the result code for an argument count, and the error file
// name in the form the editor macros expect.
#ifndef TAVLET_ERROR_HOOK_H
#define TAVLET_ERROR_HOOK_H

// Result codes, written as Exec_Flag and used as the exit code.
enum tavlet_result {
    TAVLET_RECORDED = 0,         // file name and line recorded
    TAVLET_TOO_FEW_ARGUMENTS = 2,
    TAVLET_TOO_MANY_ARGUMENTS = 4
};

extern const char TAVLET_USAGE[];

// The result for a number of arguments (the program itself not counted).
tavlet_result result_for_argument_count(int arguments);

// Converts an error file name in place: lower case (stopping at a
// double-byte character the locale cannot lower) and '/' turned into '\'.
// Works on a text of any length; the length never changes.
void convert_error_file_name(char* name);

// Records the run's values in the status file at status_path (NULL when it
// could not be located: nothing is written), Exec_Flag last.
void record_error(const char* status_path, tavlet_result result,
                  const char* file_name, const char* line);

#endif
