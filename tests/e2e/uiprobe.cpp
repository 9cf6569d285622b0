// Loaded into a running quorvel.exe by uidrive, which starts these
// functions there as threads: what only the program itself can ask (its
// window's DPI; image lists and fonts, whose handles mean nothing in
// another process) and what only it can do reliably (WM_DPICHANGED, whose
// rectangle must lie in its memory; a resize).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

HWND main_window() {
    for (HWND window = FindWindowExA(nullptr, nullptr, "quorvel", nullptr); window;
         window = FindWindowExA(nullptr, window, "quorvel", nullptr))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

// The height of the font a control draws with; 0 when it has none of its own.
int font_height(HWND control) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (control == nullptr || font == nullptr) return 0;
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

}  // namespace

// Writes "name value..." lines into `out` (4096 bytes): the main window's
// DPI as GetDpiForWindow gives it (0 without that call), the size of the
// toolbar's images, and the heights of the fonts of the list, the status
// bar and the toolbar's tooltips.
extern "C" __declspec(dllexport) DWORD WINAPI probe(void* out) {
    HWND window = main_window();
    HWND toolbar = GetDlgItem(window, 101);
    using ForWindow = UINT(WINAPI*)(HWND);
    const auto for_window = reinterpret_cast<ForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    // The common controls the program loaded, version 6 through its
    // manifest: another copy would not know the program's image list.
    HMODULE controls = GetModuleHandleA("comctl32.dll");
    using IconSize = BOOL(WINAPI*)(HIMAGELIST, int*, int*);
    const auto icon_size = reinterpret_cast<IconSize>(
        reinterpret_cast<void*>(GetProcAddress(controls, "ImageList_GetIconSize")));
    int width = 0, height = 0;
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
    if (icon_size && images) icon_size(images, &width, &height);
    HWND tooltips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    std::snprintf(static_cast<char*>(out), 4096,
                  "dpi %u\nimages %d %d\nlist-font %d\nstatus-font %d\ntooltip-font %d\n",
                  for_window ? for_window(window) : 0u, width, height,
                  font_height(GetDlgItem(window, 100)), font_height(GetDlgItem(window, 102)),
                  font_height(tooltips));
    return 0;
}

// Resizes the main window to the two ints in `in`. From inside the program:
// Wine scales a size set from another process when the desktop process
// runs at another DPI than the program (it keeps the one it started with).
extern "C" __declspec(dllexport) DWORD WINAPI resize(void* in) {
    const int* size = static_cast<const int*>(in);
    SetWindowPos(main_window(), nullptr, 0, 0, size[0], size[1],
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// What Windows sends a window that moves to a monitor of another scale:
// the new DPI and the suggested rectangle, as four ints after it in `in`.
extern "C" __declspec(dllexport) DWORD WINAPI change_dpi(void* in) {
    const int* values = static_cast<const int*>(in);
    RECT suggested = {values[1], values[2], values[3], values[4]};
    SendMessageA(main_window(), WM_DPICHANGED, MAKEWPARAM(values[0], values[0]),
                 reinterpret_cast<LPARAM>(&suggested));
    return 0;
}
