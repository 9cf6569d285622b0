#include "settings/file_paths.h"

#include "files/extension.h"

namespace quorvel {

std::string settings_path(const std::string& executable_path) {
    return with_extension(executable_path, ".ini");
}

std::string history_path(const std::string& executable_path) {
    return with_extension(executable_path, ".his");
}

std::string snapshot_folder_path(const std::string& executable_path) {
    return with_extension(executable_path, ".snapshots");
}

}  // namespace quorvel
