// The source name record: a file name with the offsets of the first and the
// last extension dot of its base name, and the log verdict computed from it.
#ifndef QUILLBAY_SOURCE_NAME_H
#define QUILLBAY_SOURCE_NAME_H

#include <stdint.h>

#include "mbtext.h"

struct source_name {
    int16_t first_dot;   // offset from the start of name
    int16_t last_dot;
    char name[TEXT_SIZE];
};

// Copies file_name (which may be record->name itself) into the record and
// finds the dots of its base name: the text after the last backslash, a
// leading dot skipped. Returns whether the record is valid. A name that does
// not fit in the record gives an invalid record with an empty name.
bool build_source_name(source_name* record, const char* file_name);

// Log verdict values.
enum log_verdict {
    VERDICT_CLEAN = 0,
    VERDICT_RUN_AGAIN = 1,
    VERDICT_EDIT = 2,
    VERDICT_STOPPED = 4,
    VERDICT_NO_LOG = 255
};

// Finds the log beside the source (name cut at its last, then at its first
// dot, followed by ".log"), reads it piece by piece and returns the code of
// the first verdict text found, 0 when none occurs, 255 when the record is
// invalid or no log opens. The record is not changed.
int log_verdict(const source_name* record);

#endif
