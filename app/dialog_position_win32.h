// The dialogs' place on the screen: the About and restore dialogs open
// centred over the main window.
#pragma once

#include <windows.h>

namespace quorvel {

// Moves window, keeping its size, so that it sits centred over
// main_window, and repaints it.
void center_on_main_window(HWND window, HWND main_window);

}  // namespace quorvel
