// The DPI the program draws at and the fonts made for it. The manifest
// declares the program per-monitor aware, so Windows never stretches its
// windows: every size, font and image is chosen here for the monitor the
// window is on, and chosen again when the window moves to another.
#pragma once

#include <windows.h>

#include "platform/unique_handle_win32.h"

namespace quorvel {

// The DPI of the screen as a whole, the system's: what positions on the
// desktop are scaled by. 96 when it cannot be had.
int screen_dpi();

// The DPI of the monitor the window is on (GetDpiForWindow, from
// Windows 10 1607); the screen's where the system cannot tell.
int window_dpi(HWND window);

// The platform's fonts made for `dpi`: the one list views draw with (the
// icon title font) and the one of status bars and tooltips. None when the
// system gives no font; the control then keeps its own.
Font list_font(int dpi);
Font status_font(int dpi);

}  // namespace quorvel
