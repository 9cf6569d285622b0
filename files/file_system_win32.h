// The file system seam over kernel32, with ANSI paths.
#pragma once

#include <string>

#include "files/file_system.h"

namespace quorvel {

// Creates the file at `path`, emptying one that exists, opened without
// sharing, and writes `bytes` through to the disk. False when any of it
// failed; the file may then hold part of the bytes.
[[nodiscard]] bool write_new_file(const std::string& path, const std::string& bytes);

class Win32FileSystem : public FileSystem {
public:
    // The lock of `path` is the file path + ".lock", open without sharing.
    [[nodiscard]] std::unique_ptr<FileLock> lock_file(const std::string& path) override;
    [[nodiscard]] ReadResult read_file(const std::string& path, std::string& bytes) override;
    // The new content goes to temporary_path(path) first.
    [[nodiscard]] bool replace_file(const std::string& path, const std::string& bytes) override;
    // The name is taken with CREATE_NEW before the bytes go in.
    [[nodiscard]] bool create_file(const std::string& path, const std::string& bytes) override;
    [[nodiscard]] bool rename_file(const std::string& from, const std::string& to) override;
    [[nodiscard]] bool delete_file(const std::string& path) override;
    [[nodiscard]] bool make_folder(const std::string& path) override;
    [[nodiscard]] bool list_files(const std::string& folder,
                                  std::vector<std::string>& names) override;
};

}  // namespace quorvel
