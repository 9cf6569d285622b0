#include "settings/settings_win32.h"

#include <commctrl.h>

namespace quorvel {

std::string executable_path() {
    char path[MAX_PATH];
    // Older systems leave a cut path unterminated, so trust only the count.
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : MAX_PATH - 1);
}

WindowSettings read_window_settings(HWND main_window, HWND list_view) {
    RECT rect = {};
    GetWindowRect(main_window, &rect);
    WindowSettings settings;
    settings.saved_rect = {rect.left, rect.top, rect.right, rect.bottom};
    for (int column = 0; column < COLUMN_COUNT; ++column)
        settings.column_widths[column] =
            static_cast<int>(SendMessageA(list_view, LVM_GETCOLUMNWIDTH, column, 0));
    return settings;
}

}  // namespace quorvel
