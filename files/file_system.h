// files/: the file system seam: whole reads, locks, crash-safe rewrites, paths.
//
// The few file operations the history, the snapshots and the saved list
// need, in the tool's own terms, and the crash-safe rewrite built from
// single steps; the extension of a path (extension.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quorvel {

enum class ReadResult {
    absent,      // no such file
    unreadable,  // it exists but cannot be read now (held open elsewhere, no access)
    read,        // the whole content is in `bytes`
};

// Keeps other copies of the program from changing a file while it is
// held; let go when destroyed.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Takes the file's lock, which every copy of the program takes around
    // a read and rewrite of it, waiting a moment when another copy holds
    // it. Null when it could not be had.
    [[nodiscard]] virtual std::unique_ptr<FileLock> lock_file(const std::string& path) = 0;
    // Reads the file whole, opened so that nobody writes it meanwhile.
    // `bytes` is changed only when the result is `read`.
    [[nodiscard]] virtual ReadResult read_file(const std::string& path, std::string& bytes) = 0;
    // Writes `bytes` to a file beside `path`, makes them durable and then
    // puts that file in place of `path` in one step. False when any of it
    // failed; the file at `path` is then exactly as it was.
    [[nodiscard]] virtual bool replace_file(const std::string& path, const std::string& bytes) = 0;
    // Makes a new file at `path` holding `bytes`, on the disk when it
    // returns, only where no file of that name exists: it never replaces
    // one. The bytes appear whole or not at all. False when the name is
    // taken or any step failed; nothing of this attempt is then left.
    [[nodiscard]] virtual bool create_file(const std::string& path, const std::string& bytes) = 0;
    // Gives the file `from` the new name `to`, which must not exist; never
    // replaces a file. False when it could not be done (`from` held open
    // elsewhere, `to` taken); nothing changed then.
    [[nodiscard]] virtual bool rename_file(const std::string& from, const std::string& to) = 0;
    // True when the file is gone afterwards, also when it never existed.
    [[nodiscard]] virtual bool delete_file(const std::string& path) = 0;
    // Creates the folder; true when it exists afterwards.
    [[nodiscard]] virtual bool make_folder(const std::string& path) = 0;
    // The names of the files (not folders) in the folder; an absent folder
    // has none. False when it cannot be listed.
    [[nodiscard]] virtual bool list_files(const std::string& folder,
                                          std::vector<std::string>& names) = 0;
};

// The single steps a crash-safe rewrite is made of; one file is open at a time.
class FileSteps {
public:
    virtual ~FileSteps() = default;
    // Creates the file, or empties an existing one, and opens it for writing.
    [[nodiscard]] virtual bool create(const std::string& path) = 0;
    // Creates the file and opens it for writing only when no file of that
    // name exists.
    [[nodiscard]] virtual bool create_new(const std::string& path) = 0;
    // Appends all of `bytes` to the open file.
    [[nodiscard]] virtual bool write(const std::string& bytes) = 0;
    // Returns once everything written is on the disk.
    [[nodiscard]] virtual bool flush() = 0;
    // Closes the open file; a failure can mean data that never reached the disk.
    [[nodiscard]] virtual bool close() = 0;
    // Puts the file `from` in place of `to` in one step that is itself on
    // the disk when it returns; `to` may exist.
    [[nodiscard]] virtual bool move_over(const std::string& from, const std::string& to) = 0;
    // Deletes the file if it is there.
    virtual void remove(const std::string& path) = 0;
};

// Creates the file at `path`, emptying one that exists, writes `bytes`,
// flushes and closes it. False when any step failed; the file may then
// hold part of the bytes.
[[nodiscard]] bool write_durably(FileSteps& steps, const std::string& path,
                                 const std::string& bytes);

// The temporary file of a rewrite of `path`: beside it, so that moving it
// over `path` stays on one volume.
std::string temporary_path(const std::string& path);

// FileSystem::replace_file over single steps: the bytes go to the temporary
// file, are flushed, and the file is closed and only then moved over `path`.
// Whatever step fails, the temporary file is removed and `path` is left as
// it was; a crash at any point leaves `path` either old or new, whole.
[[nodiscard]] bool replace_through_temporary(FileSteps& steps, const std::string& path,
                                             const std::string& bytes);

// FileSystem::create_file over single steps: the name is taken first with
// an empty file of its own (create_new), then filled as replace_through_temporary
// does. After a crash the name holds nothing, an empty file or the whole
// bytes; a failure removes the empty file again.
[[nodiscard]] bool create_through_reservation(FileSteps& steps, const std::string& path,
                                              const std::string& bytes);

}  // namespace quorvel
