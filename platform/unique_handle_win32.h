// The one owner of a platform handle: not copyable, movable, closed when
// its owner goes, or earlier by close(), which tells whether the close
// worked (a file's failed close can mean data that never reached the disk).
// Each kind of handle is a small traits record: its type, its "none" value
// and how it is closed. A handle returned and dropped would be closed at
// once, so the compiler flags it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "platform/ui_libraries_win32.h"

namespace quorvel {

template <typename Traits>
class [[nodiscard]] UniqueHandle {
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

// The two "none" values handles have: null for most, and
// INVALID_HANDLE_VALUE for what CreateFile and FindFirstFile give.
template <typename H>
struct NullIsNone {
    using Handle = H;
    static Handle none() { return nullptr; }
};
struct InvalidIsNone {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
};

// A file, a lock file or a device, as CreateFile opens it.
struct FileHandleTraits : InvalidIsNone {
    static bool close(Handle handle) { return CloseHandle(handle) != 0; }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// A search of a folder, as FindFirstFile starts it.
struct FindHandleTraits : InvalidIsNone {
    static bool close(Handle handle) { return FindClose(handle) != 0; }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

// An open registry key.
struct RegKeyTraits : NullIsNone<HKEY> {
    static bool close(Handle handle) { return RegCloseKey(handle) == ERROR_SUCCESS; }
};
using RegKey = UniqueHandle<RegKeyTraits>;

// A Service Control Manager handle, of the manager or of one service.
struct ScHandleTraits : NullIsNone<SC_HANDLE> {
    static bool close(Handle handle) { return CloseServiceHandle(handle) != 0; }
};
using ScHandle = UniqueHandle<ScHandleTraits>;

// A block of LocalAlloc memory.
struct LocalMemoryTraits : NullIsNone<HLOCAL> {
    static bool close(Handle handle) { return LocalFree(handle) == nullptr; }
};
using LocalMemory = UniqueHandle<LocalMemoryTraits>;

// A DLL loaded by this code for a while, as LoadLibraryEx gives it (one
// opened only for its resources too).
struct ModuleTraits : NullIsNone<HMODULE> {
    static bool close(Handle handle) { return FreeLibrary(handle) != 0; }
};
using Module = UniqueHandle<ModuleTraits>;

// A GDI object of this program's own making: a font, a bitmap. Closed
// through gdi32 looked up at run time, as every GDI call of the program.
template <typename Object>
struct GdiObjectTraits : NullIsNone<Object> {
    static bool close(Object handle) {
        using Delete = BOOL(WINAPI*)(HGDIOBJ);
        const auto remove = gdi_function<Delete>("DeleteObject");
        return remove && remove(handle) != 0;
    }
};
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;

// The screen's device context, as GetDC(nullptr) gives it.
struct ScreenDcTraits : NullIsNone<HDC> {
    static bool close(Handle handle) { return ReleaseDC(nullptr, handle) == 1; }
};
using ScreenDc = UniqueHandle<ScreenDcTraits>;

// A menu that no window holds, such as a popup menu.
struct MenuTraits : NullIsNone<HMENU> {
    static bool close(Handle handle) { return DestroyMenu(handle) != 0; }
};
using Menu = UniqueHandle<MenuTraits>;

// An icon of this program's own loading at a size of its choosing (not a
// shared one).
struct IconTraits : NullIsNone<HICON> {
    static bool close(Handle handle) { return DestroyIcon(handle) != 0; }
};
using Icon = UniqueHandle<IconTraits>;

// An image list of the common controls, closed through comctl32 looked up
// at run time.
struct ImageListTraits : NullIsNone<HIMAGELIST> {
    static bool close(Handle handle) {
        using Destroy = BOOL(WINAPI*)(HIMAGELIST);
        const auto destroy = common_controls_function<Destroy>("ImageList_Destroy");
        return destroy && destroy(handle) != 0;
    }
};
using ImageList = UniqueHandle<ImageListTraits>;

}  // namespace quorvel
