// A property failure in a fuzz target: print what broke and abort, so that
// libFuzzer keeps the input as a crash.
#ifndef QUILLBAY_FUZZ_CHECK_H
#define QUILLBAY_FUZZ_CHECK_H

#include <stdio.h>
#include <stdlib.h>

#define FUZZ_CHECK(condition)                                                     \
    do {                                                                          \
        if (!(condition)) {                                                       \
            fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, \
                    #condition);                                                  \
            abort();                                                              \
        }                                                                         \
    } while (0)

#endif
