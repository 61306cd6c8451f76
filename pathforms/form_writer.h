// Writing the path forms and the result code into section Result of the
// result file.
#ifndef QUILLBAY_FORM_WRITER_H
#define QUILLBAY_FORM_WRITER_H

#include "path_form.h"

// filename, basename and directory of one built form, with its suffix.
void write_path_form(const char* result_file, const path_form* form);

// Builds and writes the three forms in turn, then returncode as the last
// key; returns the result code (the sum of the failed forms' codes).
int write_path_forms(const char* result_file, const char* file_argument);

#endif
