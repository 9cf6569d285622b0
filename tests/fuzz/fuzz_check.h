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

// The copies the targets are built from (cp932_literals.py) hold narrow
// literals as the code page 932 bytes the program has, wide ones as written.
static_assert(sizeof("ソ") == 3 && "ソ"[1] == '\\', "narrow literals are code page 932 bytes");
static_assert(sizeof(u"é™") == 3 * sizeof(char16_t) && u"é™"[1] == 0x2122,
              "wide literals are UTF-16 units");
