// The one owner of a platform handle: not copyable, movable, closed when
// its owner goes, or earlier by close(), which tells whether the close
// worked (a file's failed close can mean data that never reached the disk).
// Each kind of handle is a small traits record: its type, its "none" value
// and how it is closed.
#pragma once

#include <windows.h>

#include <utility>

namespace quorvel {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { close(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::none(); }

    // Closes the handle held, if any, and takes `handle`.
    void reset(Handle handle) {
        close();
        handle_ = handle;
    }

    // Closes now; true when the close worked or nothing was open.
    bool close() {
        if (!*this) return true;
        return Traits::close(release());
    }

private:
    Handle release() { return std::exchange(handle_, Traits::none()); }

    Handle handle_ = Traits::none();
};

// A file, a lock file or a device, as CreateFile opens it.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool close(Handle handle) { return CloseHandle(handle) != 0; }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// A search of a folder, as FindFirstFile starts it.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool close(Handle handle) { return FindClose(handle) != 0; }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

// An open registry key.
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle none() { return nullptr; }
    static bool close(Handle handle) { return RegCloseKey(handle) == ERROR_SUCCESS; }
};
using RegKey = UniqueHandle<RegKeyTraits>;

// A Service Control Manager handle, of the manager or of one service.
struct ScHandleTraits {
    using Handle = SC_HANDLE;
    static Handle none() { return nullptr; }
    static bool close(Handle handle) { return CloseServiceHandle(handle) != 0; }
};
using ScHandle = UniqueHandle<ScHandleTraits>;

// A block of LocalAlloc memory.
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle none() { return nullptr; }
    static bool close(Handle handle) { return LocalFree(handle) == nullptr; }
};
using LocalMemory = UniqueHandle<LocalMemoryTraits>;

}  // namespace quorvel
