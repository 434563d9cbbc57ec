#pragma once
// A property check for fuzz targets: a broken property aborts, so libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

// Aborts with the failed condition and its place when `cond` is false.
#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond);                           \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)
