// 96-DPI units: how the settings file measures the window and the columns.
//
// Earlier builds declared no DPI awareness, so Windows showed them every
// screen at 96 DPI and they saved what they saw. The file keeps that unit:
// a value is scaled to the screen's pixels when it is read and back when it
// is written, so a file opens at the same place and size at any scaling.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace quorvel {

constexpr int BASE_DPI = 96;

// units × dpi / 96 and pixels × 96 / dpi, rounded half away from zero as
// MulDiv rounds, clamped to the 32-bit range (CW_USEDEFAULT_VALUE aside: a
// value is never turned into "unset"). A DPI below 1 counts as 96.
//
// At any DPI of at least 96 (Windows offers none lower) to_units gives back
// exactly the value to_pixels was given: the pixels lie within half a pixel
// of units × s (s = dpi / 96 ≥ 1), so dividing by s lands within half a unit
// of the value itself. A setting read and written again unchanged is written
// as it was read, however often the program starts. Below 96 DPI a value may
// move once, to one that then stays.
int to_pixels(std::int64_t units, int dpi);
int to_units(std::int64_t pixels, int dpi);

// A size shown at from_dpi as it is to be shown at to_dpi, through units:
// a window that goes back and forth between two monitors of these scales
// shows the same sizes each time it comes back, after its first move.
int rescale(int pixels, int from_dpi, int to_dpi);

// The two scales a saved rectangle meets. Positions are screen coordinates,
// scaled with the screen's own DPI (the one every earlier build's
// coordinates were scaled by, whichever monitor the window was on), so a
// window saved on any monitor comes back on it. Sizes (the window's width
// and height, the column widths) follow the DPI of the monitor the window
// is shown on. With one monitor, or monitors of one scale, both are the same.
struct DisplayScale {
    int screen_dpi = BASE_DPI;
    int window_dpi = BASE_DPI;
};

// The settings read from the file (in units) as the window is to use them
// (in pixels), and the window's pixels as they are to be saved. Unset
// values stay unset: CW_USEDEFAULT_VALUE edges and 0 widths.
WindowSettings settings_in_pixels(const WindowSettings& units, const DisplayScale& scale);
WindowSettings settings_in_units(const WindowSettings& pixels, const DisplayScale& scale);

}  // namespace quorvel
