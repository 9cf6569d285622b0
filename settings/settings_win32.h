// What the settings need from the running program and its windows.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "settings/settings.h"

namespace quorvel {

// The executable's full path, whole however long; nothing when it cannot
// be had.
[[nodiscard]] std::optional<std::string> executable_path();

// The main window's rectangle and the list view's column widths in pixels,
// as the window shows them when it is destroyed (settings_in_units turns
// them into what is saved).
WindowSettings read_window_settings(HWND main_window, HWND list_view);

}  // namespace quorvel
