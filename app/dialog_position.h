// Where a dialog goes to sit centred over the window that owns it.
#pragma once

namespace quorvel {

struct ScreenRect {
    int left, top, right, bottom;
};
struct ScreenPoint {
    int x, y;
};

// Top-left corner that centres dialog over main_window, both outer
// rectangles in screen coordinates. Halves truncate toward zero, so a
// dialog wider than the window goes left by the rounded-down half of the
// overhang; nothing keeps it on the screen.
ScreenPoint centred_origin(const ScreenRect& main_window, const ScreenRect& dialog);

}  // namespace quorvel
