#include "settings/file_paths.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(FilePaths, ReplaceTheExtensionOfTheLastComponentOnly) {
    const struct {
        const char* executable;
        const char* settings;
        const char* history;
    } cases[] = {
        {"C:\\apps\\quorvel.exe", "C:\\apps\\quorvel.ini", "C:\\apps\\quorvel.his"},
        {"C:\\apps\\svc.tool.exe", "C:\\apps\\svc.tool.ini", "C:\\apps\\svc.tool.his"},
        {"C:\\my.apps\\quorvel.exe", "C:\\my.apps\\quorvel.ini", "C:\\my.apps\\quorvel.his"},
        {"C:\\my.apps\\quorvel", "C:\\my.apps\\quorvel.ini", "C:\\my.apps\\quorvel.his"},
        {"C:\\apps\\.exe", "C:\\apps\\.ini", "C:\\apps\\.his"},
        {"C:quorvel.exe", "C:quorvel.ini", "C:quorvel.his"},
        {"\\\\server\\share.d\\tool", "\\\\server\\share.d\\tool.ini",
         "\\\\server\\share.d\\tool.his"},
        // ソ is 0x83 0x5C: its trail byte is no backslash.
        {"C:\\apps\\x.ソフト", "C:\\apps\\x.ini", "C:\\apps\\x.his"},
        {"C:\\ソフト.d\\tool", "C:\\ソフト.d\\tool.ini", "C:\\ソフト.d\\tool.his"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.executable);
        EXPECT_EQ(settings_path(c.executable), c.settings);
        EXPECT_EQ(history_path(c.executable), c.history);
    }
}

TEST(FilePaths, ExtensionOfTheLastComponent) {
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

}  // namespace
}  // namespace quorvel
