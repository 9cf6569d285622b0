#include "app/about_win32.h"

#include <optional>
#include <string>
#include <utility>

#include "app/about_text.h"
#include "app/display_scale_win32.h"
#include "app/dialog_position_win32.h"
#include "platform/system_library_win32.h"
#include "platform/unique_handle_win32.h"
#include "res/resource.h"
#include "settings/display_units.h"
#include "settings/settings_win32.h"

namespace quorvel {

namespace {

// The version functions, from the system's version.dll only.
struct VersionFunctions {
    using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    HMODULE dll = system_library("version.dll");
    SizeFunction size = library_function<SizeFunction>(dll, "GetFileVersionInfoSizeA");
    InfoFunction info = library_function<InfoFunction>(dll, "GetFileVersionInfoA");
    QueryFunction query = library_function<QueryFunction>(dll, "VerQueryValueA");
    bool available() const { return size && info && query; }
};

// The icon's control: -1 in the template, which keeps identifiers in 16 bits.
constexpr int ICON_CONTROL = 0xFFFF;

// What the open dialog keeps: the program's icon drawn for the dialog's
// DPI, in place of the one the dialog was made with (the platform's, at the
// primary screen's size, which is shared and stays). run_about_dialog
// brings it and the dialog keeps it as DWLP_USER; ours is destroyed once
// the dialog, and so the icon's control, is gone.
struct AboutDialog {
    Icon icon;
};

void show_icon(HWND dialog, AboutDialog& context, int dpi) {
    const int size = to_pixels(32, dpi);  // an icon is 32 pixels at 96 DPI
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    Icon icon(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUORVEL), IMAGE_ICON, size, size, 0)));
    if (!icon) return;
    SendDlgItemMessageA(dialog, ICON_CONTROL, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    context.icon = std::move(icon);
}

INT_PTR CALLBACK about_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, DWLP_USER, static_cast<LONG_PTR>(lparam));
    auto* const context = reinterpret_cast<AboutDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    // Messages before WM_INITDIALOG (the font) find no context yet.
    if (context == nullptr) return 0;
    switch (message) {
    case WM_INITDIALOG: {
        // The dialog is always run owned by the main window.
        center_on_main_window(dialog, GetWindow(dialog, GW_OWNER));
        char version[VERSION_TEXT_SIZE];
        build_version_text(version);
        SetWindowTextA(GetDlgItem(dialog, IDC_ABOUT_TEXT), about_text(version).c_str());
        show_icon(dialog, *context, window_dpi(dialog));
        return 0;
    }
    case WM_DPICHANGED:
        show_icon(dialog, *context, HIWORD(wparam));
        return 0;  // the dialog manager scales the rest
    case WM_COMMAND:
        // IDCANCEL (Esc) is deliberately ignored: only OK closes the dialog.
        if (LOWORD(wparam) == IDOK) EndDialog(dialog, IDOK);
        return 0;
    default:
        return 0;
    }
}

}  // namespace

void build_version_text(char* text) {
    text[0] = '\0';
    const VersionFunctions version_dll;
    if (!version_dll.available()) return;
    const std::optional<std::string> executable = executable_path();
    if (!executable) return;
    const char* path = executable->c_str();
    const DWORD size = version_dll.size(path, nullptr);
    if (size == 0) return;
    const LocalMemory block(LocalAlloc(LMEM_ZEROINIT, size));
    if (!block || !version_dll.info(path, 0, size, block.get())) return;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (version_dll.query(block.get(), "\\", reinterpret_cast<void**>(&info), &length) &&
        info != nullptr && length >= sizeof(VS_FIXEDFILEINFO)) {
        const std::string version =
            version_text(info->dwProductVersionMS, info->dwProductVersionLS);
        const std::size_t count = version.copy(text, VERSION_TEXT_SIZE - 1);
        text[count] = '\0';
    }
}

void run_about_dialog(HWND owner, HINSTANCE instance) {
    AboutDialog context;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, about_dialog_proc,
                    reinterpret_cast<LPARAM>(&context));
}

}  // namespace quorvel
