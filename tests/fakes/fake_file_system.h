// Files in memory for the unit tests, with the failures the history must
// survive: a file held open elsewhere, its lock held by another copy of
// the program and a replacement that fails; and a disk whose single steps
// fail, or lose power, one after the other.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "files/file_system.h"

namespace quorvel::testing {

class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> locked;  // exist, but can be neither read nor replaced nor deleted
    bool replace_fails = false;    // no new content can be written (replaced or created)
    bool rename_fails = false;
    std::set<std::string> undeletable;  // can be read and renamed, but not deleted
    int replace_calls = 0;
    int delete_calls = 0;
    std::set<std::string> lock_held;  // another copy holds these files' locks
    std::vector<std::string> unlocked_writes;  // files replaced or deleted while no lock was held
    std::vector<std::string> unlocked_reads;   // files read while no lock was held

    bool exists(const std::string& path) const { return files.count(path) != 0; }

    [[nodiscard]] std::unique_ptr<FileLock> lock_file(const std::string& path) override {
        if (lock_held.count(path) != 0) return nullptr;
        return std::make_unique<Lock>(locks_);
    }

    [[nodiscard]] ReadResult read_file(const std::string& path, std::string& bytes) override {
        if (locks_ == 0) unlocked_reads.push_back(path);
        if (locked.count(path) != 0) return ReadResult::unreadable;
        auto found = files.find(path);
        if (found == files.end()) return ReadResult::absent;
        bytes = found->second;
        return ReadResult::read;
    }

    [[nodiscard]] bool replace_file(const std::string& path, const std::string& bytes) override {
        ++replace_calls;
        if (locks_ == 0) unlocked_writes.push_back(path);
        if (replace_fails || locked.count(path) != 0) return false;
        files[path] = bytes;
        return true;
    }

    // A name taken by a file or a folder cannot be created.
    [[nodiscard]] bool create_file(const std::string& path, const std::string& bytes) override {
        if (replace_fails || exists(path) || folders.count(path) != 0) return false;
        files[path] = bytes;
        return true;
    }

    [[nodiscard]] bool rename_file(const std::string& from, const std::string& to) override {
        if (rename_fails || locked.count(from) != 0 || !exists(from) || exists(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }

    [[nodiscard]] bool delete_file(const std::string& path) override {
        ++delete_calls;
        if (locks_ == 0) unlocked_writes.push_back(path);
        if (locked.count(path) != 0 || undeletable.count(path) != 0) return false;
        files.erase(path);
        return true;
    }

    // Folders exist once made; a path in `locked` cannot be made.
    std::set<std::string> folders;
    [[nodiscard]] bool make_folder(const std::string& path) override {
        if (locked.count(path) != 0) return false;
        folders.insert(path);
        return true;
    }

    [[nodiscard]] bool list_files(const std::string& folder,
                                  std::vector<std::string>& names) override {
        names.clear();
        if (locked.count(folder) != 0) return false;
        const std::string prefix = folder + "\\";
        for (const auto& entry : files)
            if (entry.first.compare(0, prefix.size(), prefix) == 0 &&
                entry.first.find('\\', prefix.size()) == std::string::npos)
                names.push_back(entry.first.substr(prefix.size()));
        return true;
    }

private:
    class Lock : public FileLock {
    public:
        explicit Lock(int& held) : held_(held) { ++held_; }
        ~Lock() override { --held_; }

    private:
        int& held_;
    };
    int locks_ = 0;
};

// The power went at the end of a step of FakeDisk.
struct PowerLoss {};

// A disk whose every step counts, reads and deletions included, so that a
// test can make step n fail (`fail_at`) or end with a power loss
// (`power_loss_after`). Like a real disk it keeps two states per file: what
// reads see and what is on the platter, which only a flush brings up to
// date. Moves and deletions go to the disk at once (write-through). A write
// that fails has put half of its bytes into the file first.
class FakeDisk : public FileSystem, public FileSteps {
public:
    struct File {
        std::string seen;     // what a read returns
        std::string durable;  // what is left after a power loss
    };
    std::map<std::string, File> files;
    int fail_at = 0;           // 1-based number of the step that fails; 0: none
    int power_loss_after = 0;  // 1-based number of the step the power goes after
    std::vector<std::string> steps;  // every step taken, in order

    void put(const std::string& path, const std::string& content) {
        files[path] = File{content, content};
    }
    bool exists(const std::string& path) const { return files.count(path) != 0; }
    // Every file as it is once the power came back.
    void restart() {
        for (auto& entry : files) entry.second.seen = entry.second.durable;
    }

    [[nodiscard]] ReadResult read_file(const std::string& path, std::string& bytes) override {
        if (!step("read")) return ReadResult::unreadable;
        auto found = files.find(path);
        if (found == files.end()) return finish(ReadResult::absent);
        bytes = found->second.seen;
        return finish(ReadResult::read);
    }
    [[nodiscard]] std::unique_ptr<FileLock> lock_file(const std::string&) override {
        if (!step("lock")) return nullptr;
        return finish(std::make_unique<FileLock>());
    }
    [[nodiscard]] bool replace_file(const std::string& path, const std::string& bytes) override {
        return replace_through_temporary(*this, path, bytes);
    }
    [[nodiscard]] bool create_file(const std::string& path, const std::string& bytes) override {
        return create_through_reservation(*this, path, bytes);
    }
    [[nodiscard]] bool rename_file(const std::string& from, const std::string& to) override {
        if (!step("rename") || !exists(from) || exists(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return finish(true);
    }
    [[nodiscard]] bool delete_file(const std::string& path) override {
        if (!step("delete")) return false;
        files.erase(path);
        return finish(true);
    }

    [[nodiscard]] bool create(const std::string& path) override {
        if (!step("create")) return false;
        files[path] = File{};
        open_ = path;
        return finish(true);
    }
    [[nodiscard]] bool create_new(const std::string& path) override {
        if (!step("create new") || exists(path)) return false;
        files[path] = File{};
        open_ = path;
        return finish(true);
    }
    [[nodiscard]] bool write(const std::string& bytes) override {
        File& file = files.at(open_);
        if (!step("write")) {
            file.seen += bytes.substr(0, bytes.size() / 2);
            return false;
        }
        file.seen += bytes;
        return finish(true);
    }
    [[nodiscard]] bool flush() override {
        if (!step("flush")) return false;
        files.at(open_).durable = files.at(open_).seen;
        return finish(true);
    }
    [[nodiscard]] bool close() override {
        open_.clear();
        return step("close") && finish(true);
    }
    [[nodiscard]] bool move_over(const std::string& from, const std::string& to) override {
        if (!step("move") || !exists(from)) return false;
        files[to] = files[from];
        files.erase(from);
        return finish(true);
    }
    void remove(const std::string& path) override {
        if (step("remove")) finish(files.erase(path));
    }
    [[nodiscard]] bool make_folder(const std::string&) override {
        return step("make folder") && finish(true);
    }
    [[nodiscard]] bool list_files(const std::string& folder,
                                  std::vector<std::string>& names) override {
        names.clear();
        if (!step("list")) return false;
        const std::string prefix = folder + "\\";
        for (const auto& entry : files)
            if (entry.first.compare(0, prefix.size(), prefix) == 0)
                names.push_back(entry.first.substr(prefix.size()));
        return finish(true);
    }

private:
    // Counts the step; false when it is the one that fails.
    bool step(const char* name) {
        steps.push_back(name);
        return static_cast<int>(steps.size()) != fail_at;
    }
    // The step's result, unless the power goes now.
    template <typename Result>
    Result finish(Result result) {
        if (static_cast<int>(steps.size()) == power_loss_after) throw PowerLoss{};
        return result;
    }

    std::string open_;
};

}  // namespace quorvel::testing
