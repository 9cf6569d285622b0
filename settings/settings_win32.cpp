#include "settings/settings_win32.h"

#include <commctrl.h>

#include "text/whole_text.h"

namespace quorvel {

std::optional<std::string> executable_path() {
    // Older systems leave a cut path unterminated, so only the count is
    // trusted. The longest path the platform knows has 32,767 characters,
    // each at most two bytes in code page 932: 256 times 260 bytes hold it.
    return whole_text(
        [](char* buffer, std::size_t size) -> std::size_t {
            return GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
        },
        MAX_PATH, MAX_PATH * 256);
}

namespace {

// A minimised window's own rectangle lies far off the screen; its normal
// one is where it opens again. GetWindowPlacement gives that in work-area
// coordinates, which differ from the screen's by the taskbar's room.
RECT rectangle_to_save(HWND window) {
    RECT rect = {};
    if (!IsIconic(window)) {
        GetWindowRect(window, &rect);
        return rect;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    rect = placement.rcNormalPosition;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                   monitor.rcWork.top - monitor.rcMonitor.top);
    return rect;
}

}  // namespace

WindowSettings read_window_settings(HWND main_window, HWND list_view) {
    const RECT rect = rectangle_to_save(main_window);
    WindowSettings settings;
    settings.saved_rect = {rect.left, rect.top, rect.right, rect.bottom};
    for (int column = 0; column < COLUMN_COUNT; ++column)
        settings.column_widths[column] =
            static_cast<int>(SendMessageA(list_view, LVM_GETCOLUMNWIDTH, column, 0));
    return settings;
}

}  // namespace quorvel
