// A property that fails in a fuzz target ends the run like a crash, so
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                               \
    ((condition) ? static_cast<void>(0)                                                     \
                 : (std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, \
                                 #condition),                                               \
                    std::abort()))
