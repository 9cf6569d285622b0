// Program entry: the platform check, the settings and history, the main
// window and the one message loop.
#include <windows.h>

#include <optional>
#include <string>

#include "app/display_scale_win32.h"
#include "app/main_window_rules.h"
#include "app/main_window_win32.h"
#include "files/file_system_win32.h"
#include "platform/system_library_win32.h"
#include "res/resource.h"
#include "settings/display_units.h"
#include "settings/file_paths.h"
#include "settings/profile_win32.h"
#include "settings/settings_win32.h"
#include "text/user_texts.h"

namespace quorvel {

namespace {

const char PROGRAM_NAME[] = "quorvel";

// False outside the NT family; notes whether descriptions can be read.
bool check_platform(MainWindow& main) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    if (version.dwMajorVersion >= 6) main.skip_descriptions = true;
    return true;
}

void register_window_class(HINSTANCE instance) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUORVEL));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    window_class.lpszClassName = PROGRAM_NAME;
    RegisterClassA(&window_class);
}

// The files beside the executable: the settings, in 96-DPI units, and the
// history.
void read_files(MainWindow& main, const std::string& executable) {
    main.settings_file = settings_path(executable);
    main.history_file = history_path(executable);
    main.snapshot_folder = snapshot_folder_path(executable);
    Win32Profile profile(SETTINGS_SECTION, main.settings_file);
    Win32FileSystem files;
    main.saved_settings = read_start_up(profile, main.history, files, main.history_file);
}

WindowBox saved_box(const MainWindow& main) {
    return window_box_from_saved(settings_in_pixels(main.saved_settings, main.scale).saved_rect);
}

// The window is made at the screen's DPI; one that opens on a monitor of
// another scale takes its saved size at that monitor's (its position,
// scaled by the screen's DPI, is already right).
void fit_saved_size(const MainWindow& main, const WindowBox& made) {
    const WindowBox box = saved_box(main);
    if (box.width == made.width && box.height == made.height) return;
    RECT rect{};
    GetWindowRect(main.window, &rect);
    const int width = box.width == CW_USEDEFAULT_VALUE ? rect.right - rect.left : box.width;
    const int height = box.height == CW_USEDEFAULT_VALUE ? rect.bottom - rect.top : box.height;
    SetWindowPos(main.window, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int run_message_loop() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace
}  // namespace quorvel

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
    using namespace quorvel;
    restrict_library_search();
    MainWindow main;
    if (!check_platform(main)) {
        MessageBoxA(GetDesktopWindow(), PLATFORM_REFUSED, START_UP_CAPTION, MB_OK);
        return 1;
    }
    // Every file of the program lies beside it and is named after it: with
    // a cut path they would be read and written somewhere else.
    const std::optional<std::string> executable = executable_path();
    if (!executable) {
        MessageBoxA(nullptr, NO_EXECUTABLE_PATH, START_UP_CAPTION, MB_OK | MB_ICONERROR);
        return 1;
    }
    if (previous == nullptr) register_window_class(instance);
    read_files(main, *executable);
    const int dpi = screen_dpi();
    main.scale = {dpi, dpi};  // until the window knows its monitor's
    const WindowBox box = saved_box(main);
    main.instance = instance;
    HWND window = CreateWindowExA(0, PROGRAM_NAME, PROGRAM_NAME, WS_OVERLAPPEDWINDOW, box.x, box.y,
                                  box.width, box.height, nullptr, nullptr, instance, &main);
    if (window == nullptr) {
        MessageBoxA(nullptr, NO_WINDOW, START_UP_CAPTION, MB_OK | MB_ICONERROR);
        return 1;
    }
    fit_saved_size(main, box);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return run_message_loop();
}
