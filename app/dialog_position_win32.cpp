#include "app/dialog_position_win32.h"

#include "app/dialog_position.h"

namespace quorvel {

void center_on_main_window(HWND window, HWND main_window) {
    RECT main_rect = {};
    RECT rect = {};
    GetWindowRect(main_window, &main_rect);
    GetWindowRect(window, &rect);
    const ScreenPoint origin =
        centred_origin({main_rect.left, main_rect.top, main_rect.right, main_rect.bottom},
                       {rect.left, rect.top, rect.right, rect.bottom});
    MoveWindow(window, origin.x, origin.y, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

}  // namespace quorvel
