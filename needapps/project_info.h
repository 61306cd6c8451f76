// The project's short names, which the editor macros use to name the
// project's other files.
#ifndef QUILLBAY_PROJECT_INFO_H
#define QUILLBAY_PROJECT_INFO_H

#include "source_name.h"

// The base name of the record (the text after its last backslash) up to,
// not including, the dot at offset dot. The record must be valid and dot
// one of its two offsets.
void short_name(const source_name* record, int16_t dot, char out[TEXT_SIZE]);

// Writes ShortName (cut at the last dot) and then ShortName_Old (cut at the
// first dot) to section CurrentProjectInfo of the status file.
void write_short_names(const char* status_path, const source_name* record);

#endif
