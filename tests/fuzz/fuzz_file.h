// Writes fuzz input into a scratch file that the code under test opens by
// name, in a directory private to this process.
#ifndef QUILLBAY_FUZZ_FILE_H
#define QUILLBAY_FUZZ_FILE_H

#include <stddef.h>
#include <stdint.h>

// The directory (with a trailing '/') that holds the scratch files.
const char* fuzz_scratch_dir();
// Writes data to scratch_dir + name and returns the full path.
const char* fuzz_write_file(const char* name, const uint8_t* data, size_t size);

#endif
