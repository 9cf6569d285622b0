#include "files/extension.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Extension, FoundInTheLastComponentOnly) {
    const struct {
        const char* path;
        const char* extension;
    } cases[] = {
        {"C:\\out\\LIST.TXT", "TXT"},
        {"C:\\out\\list.csv", "csv"},
        {"C:\\out\\list.tar.gz", "gz"},
        {"C:\\out\\list", ""},
        {"C:\\old.tools\\list", ""},
        {"C:/old.tools/list", ""},
        {"C:list.dat", "dat"},
        {"C:\\out\\list.", ""},
        {"", ""},
        {"C:\\out\\x.ソフト", "ソフト"},  // ソ ends in the byte 0x5C
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(find_extension(c.path), c.extension);
    }
}

TEST(Extension, ReplacedInTheLastComponentOnly) {
    const struct {
        const char* path;
        const char* replaced;
    } cases[] = {
        {"C:\\apps\\quorvel.exe", "C:\\apps\\quorvel.ini"},
        {"C:\\apps\\svc.tool.exe", "C:\\apps\\svc.tool.ini"},
        {"C:\\my.apps\\quorvel.exe", "C:\\my.apps\\quorvel.ini"},
        {"C:\\my.apps\\quorvel", "C:\\my.apps\\quorvel.ini"},
        {"C:/my.apps/quorvel", "C:/my.apps/quorvel.ini"},
        {"C:\\apps\\.exe", "C:\\apps\\.ini"},
        {"C:quorvel.exe", "C:quorvel.ini"},
        {"\\\\server\\share.d\\tool", "\\\\server\\share.d\\tool.ini"},
        // ソ is 0x83 0x5C: its trail byte is no backslash.
        {"C:\\apps\\x.ソフト", "C:\\apps\\x.ini"},
        {"C:\\ソフト.d\\tool", "C:\\ソフト.d\\tool.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(with_extension(c.path, ".ini"), c.replaced);
    }
}

}  // namespace
}  // namespace quorvel
