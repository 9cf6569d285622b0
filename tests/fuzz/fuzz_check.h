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

// clang reads the sources as UTF-8, as the other builds do, so wide
// literals are the program's UTF-16 units. (The table of the user's texts
// checks its own narrow literals.)
static_assert(sizeof(u"é™") == 3 * sizeof(char16_t) && u"é™"[1] == 0x2122,
              "wide literals are UTF-16 units");
