// Files in memory for the unit tests, with the failures the history must
// survive: a file held open elsewhere and a replacement that fails.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "history/file_system.h"

namespace quorvel::testing {

class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> locked;  // exist, but can be neither read nor replaced nor deleted
    bool replace_fails = false;    // the new content cannot be written beside the file
    int replace_calls = 0;
    int delete_calls = 0;

    bool exists(const std::string& path) const { return files.count(path) != 0; }

    ReadResult read_file(const std::string& path, std::string& bytes) override {
        if (locked.count(path) != 0) return ReadResult::unreadable;
        auto found = files.find(path);
        if (found == files.end()) return ReadResult::absent;
        bytes = found->second;
        return ReadResult::read;
    }

    bool replace_file(const std::string& path, const std::string& bytes) override {
        ++replace_calls;
        if (replace_fails || locked.count(path) != 0) return false;
        files[path] = bytes;
        return true;
    }

    bool delete_file(const std::string& path) override {
        ++delete_calls;
        if (locked.count(path) != 0) return false;
        files.erase(path);
        return true;
    }

    // Folders exist once made; a path in `locked` cannot be made.
    std::set<std::string> folders;
    bool make_folder(const std::string& path) override {
        if (locked.count(path) != 0) return false;
        folders.insert(path);
        return true;
    }

    bool list_files(const std::string& folder, std::vector<std::string>& names) override {
        names.clear();
        if (locked.count(folder) != 0) return false;
        const std::string prefix = folder + "\\";
        for (const auto& entry : files)
            if (entry.first.compare(0, prefix.size(), prefix) == 0 &&
                entry.first.find('\\', prefix.size()) == std::string::npos)
                names.push_back(entry.first.substr(prefix.size()));
        return true;
    }
};

}  // namespace quorvel::testing
