// The pure parts of the About dialog: the version text, the dialog's text
// around it, and where a dialog goes to sit centred over the main window.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The version text is copied into buffers of this many bytes.
constexpr int VERSION_TEXT_SIZE = 260;

// From VS_FIXEDFILEINFO's dwProductVersionMS and dwProductVersionLS, which
// hold a.b.c.d as a<<16|b and c<<16|d: b, a dot, then c and d run together
// ("0.06" for 0.0.0.6, "2.34" for 1.2.3.4). a never appears.
std::string version_text(std::uint32_t product_version_ms, std::uint32_t product_version_ls);

// The four centred lines of the About dialog, joined by CR LF; the first is
// "quorvel Version " and the version text, even when that is empty.
std::string about_text(const std::string& version);

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
