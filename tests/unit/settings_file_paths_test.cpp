#include "settings/file_paths.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(FilePaths, EachFileIsNamedAfterTheExecutable) {
    for (const char* folder : {"C:\\apps\\", "C:\\my.apps\\"}) {
        for (const char* extension : {".exe", ""}) {
            const std::string executable = std::string(folder) + "quorvel" + extension;
            SCOPED_TRACE(executable);
            EXPECT_EQ(settings_path(executable), std::string(folder) + "quorvel.ini");
            EXPECT_EQ(history_path(executable), std::string(folder) + "quorvel.his");
            EXPECT_EQ(snapshot_folder_path(executable), std::string(folder) + "quorvel.snapshots");
        }
    }
}

}  // namespace
}  // namespace quorvel
