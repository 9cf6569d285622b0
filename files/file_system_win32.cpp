#include "files/file_system_win32.h"

#include <windows.h>

#include "platform/unique_handle_win32.h"

namespace quorvel {
namespace {

// Far beyond any real history (thousands of records of about 2 KB); a
// larger file is left alone as unreadable instead of exhausting memory.
const DWORD MAX_FILE_BYTES = 64 * 1024 * 1024;

bool is_missing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool read_exactly(HANDLE file, std::string& bytes) {
    DWORD done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size()) - done, &got, nullptr))
            return false;
        if (got == 0) return false;  // the file shrank under us
        done += got;
    }
    return true;
}

bool write_all(HANDLE file, const std::string& bytes) {
    DWORD done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size()) - done, &put,
                       nullptr) ||
            put == 0)
            return false;
        done += put;
    }
    return true;
}

// How long a save waits for another copy of the program to finish its own.
const DWORD LOCK_WAIT_MS = 2000;
const DWORD LOCK_RETRY_MS = 20;

// A file beside the locked one, open without sharing while the lock is
// held. The system deletes it when the handle closes, also when the
// process ends without closing it, so a crash leaves no stale lock.
class Win32FileLock : public FileLock {
public:
    explicit Win32FileLock(HANDLE handle) : file_(handle) {}

private:
    FileHandle file_;
};

class Win32FileSteps : public FileSteps {
public:
    [[nodiscard]] bool create(const std::string& path) override {
        file_.reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file_);
    }
    [[nodiscard]] bool create_new(const std::string& path) override {
        file_.reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file_);
    }
    [[nodiscard]] bool write(const std::string& bytes) override {
        return write_all(file_.get(), bytes);
    }
    [[nodiscard]] bool flush() override { return FlushFileBuffers(file_.get()) != 0; }
    [[nodiscard]] bool close() override { return file_.close(); }
    [[nodiscard]] bool move_over(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void remove(const std::string& path) override { DeleteFileA(path.c_str()); }

private:
    FileHandle file_;
};

}  // namespace

bool write_new_file(const std::string& path, const std::string& bytes) {
    Win32FileSteps steps;
    return write_durably(steps, path, bytes);
}

std::unique_ptr<FileLock> Win32FileSystem::lock_file(const std::string& path) {
    const std::string lock_path = path + ".lock";
    const DWORD started = GetTickCount();
    for (;;) {
        HANDLE handle = CreateFileA(lock_path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE,
                                    nullptr);
        if (handle != INVALID_HANDLE_VALUE) return std::make_unique<Win32FileLock>(handle);
        // Held by another copy, or being deleted as that copy lets go.
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
            GetTickCount() - started >= LOCK_WAIT_MS)
            return nullptr;
        Sleep(LOCK_RETRY_MS);
    }
}

ReadResult Win32FileSystem::read_file(const std::string& path, std::string& bytes) {
    // Share mode 0: nobody may write the file while it is read.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return is_missing(GetLastError()) ? ReadResult::absent : ReadResult::unreadable;
    DWORD high = 0;
    const DWORD size = GetFileSize(file.get(), &high);
    // A failed GetFileSize gives 0xFFFFFFFF, which is over the limit too.
    if (high != 0 || size > MAX_FILE_BYTES) return ReadResult::unreadable;
    std::string content(size, '\0');
    if (!read_exactly(file.get(), content)) return ReadResult::unreadable;
    bytes.swap(content);
    return ReadResult::read;
}

bool Win32FileSystem::replace_file(const std::string& path, const std::string& bytes) {
    Win32FileSteps steps;
    return replace_through_temporary(steps, path, bytes);
}

bool Win32FileSystem::create_file(const std::string& path, const std::string& bytes) {
    Win32FileSteps steps;
    return create_through_reservation(steps, path, bytes);
}

// Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
bool Win32FileSystem::rename_file(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::delete_file(const std::string& path) {
    return DeleteFileA(path.c_str()) || is_missing(GetLastError());
}

bool Win32FileSystem::make_folder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::list_files(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    WIN32_FIND_DATAA found{};
    const FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search) {
        const DWORD error = GetLastError();
        return is_missing(error) || error == ERROR_NO_MORE_FILES;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search.get(), &found));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace quorvel
