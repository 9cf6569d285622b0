// The few file operations the history needs, in the tool's own terms.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

enum class ReadResult {
    absent,      // no such file
    unreadable,  // it exists but cannot be read now (held open elsewhere, no access)
    read,        // the whole content is in `bytes`
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Reads the file whole, opened so that nobody writes it meanwhile.
    // `bytes` is changed only when the result is `read`.
    virtual ReadResult read_file(const std::string& path, std::string& bytes) = 0;
    // Writes `bytes` to a file beside `path`, makes them durable and then
    // puts that file in place of `path` in one step. False when any of it
    // failed; the file at `path` is then exactly as it was.
    virtual bool replace_file(const std::string& path, const std::string& bytes) = 0;
    // True when the file is gone afterwards, also when it never existed.
    virtual bool delete_file(const std::string& path) = 0;
    // Creates the folder; true when it exists afterwards.
    virtual bool make_folder(const std::string& path) = 0;
    // The names of the files (not folders) in the folder; an absent folder
    // has none. False when it cannot be listed.
    virtual bool list_files(const std::string& folder, std::vector<std::string>& names) = 0;
};

}  // namespace quorvel
