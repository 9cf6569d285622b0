// The file operations of the history over kernel32, with ANSI paths.
#pragma once

#include "history/file_system.h"

namespace quorvel {

class Win32FileSystem : public FileSystem {
public:
    ReadResult read_file(const std::string& path, std::string& bytes) override;
    // The new content goes to `path` + ".tmp" first.
    bool replace_file(const std::string& path, const std::string& bytes) override;
    bool delete_file(const std::string& path) override;
    bool make_folder(const std::string& path) override;
    bool list_files(const std::string& folder, std::vector<std::string>& names) override;
};

}  // namespace quorvel
