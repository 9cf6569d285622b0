// Program entry, the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/app_state_win32.h"
#include "app/service_list_win32.h"

namespace quorvel {

HINSTANCE instance;
HWND main_window;
HWND list_view;
int show_all;
int skip_descriptions;

namespace {

const char PROGRAM_NAME[] = "quorvel";

void refresh_table() { fill_service_list(list_view, show_all); }

void on_create(HWND window) {
    InitCommonControls();
    list_view = create_service_list(window);
    show_all = 0;
    refresh_table();
    main_window = window;
    previous_list_proc =
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list_view, GWLP_WNDPROC));
    SetWindowLongPtrA(list_view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_view_proc));
}

void on_size(LPARAM lparam) {
    MoveWindow(list_view, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
}

void on_notify(const NMHDR* header, LPARAM lparam) {
    if (header->code == LVN_COLUMNCLICK) {
        const auto* click = reinterpret_cast<const NMLISTVIEW*>(lparam);
        sort_service_list(header->hwndFrom, click->iSubItem);
    }
}

void on_command(HWND window, WORD command) {
    switch (command) {
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_REFRESH: refresh_table(); break;
    case IDM_SHOW_ALL:
        show_all = !show_all;
        refresh_table();
        break;
    default: break;
    }
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: on_create(window); return 0;
    case WM_SIZE: on_size(lparam); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wparam) != 0) SetFocus(list_view);
        return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_NOTIFY: on_notify(reinterpret_cast<NMHDR*>(lparam), lparam); return 0;
    case WM_COMMAND: on_command(window, LOWORD(wparam)); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

bool platform_is_nt() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    skip_descriptions = version.dwMajorVersion >= 6 ? 1 : 0;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace
}  // namespace quorvel

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
    using namespace quorvel;
    if (!platform_is_nt()) {
        MessageBoxA(GetDesktopWindow(), "Windows NT/2000/XP で起動してください。", "Error", MB_OK);
        return 1;
    }
    if (previous == nullptr) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = main_window_proc;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        window_class.lpszClassName = PROGRAM_NAME;
        RegisterClassA(&window_class);
    }
    quorvel::instance = instance;
    HWND window = CreateWindowExA(0, PROGRAM_NAME, PROGRAM_NAME, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
