// The save-list command: asks for a file with the save dialog and writes
// the main table into it as comma- or tab-separated text.
#pragma once

#include "app/main_window_win32.h"

namespace quorvel {

// Writes the header row and every row of the main list in its current
// order to the file chosen in a save dialog owned by the main window.
// Cancel leaves every file alone; nothing is ever reported, not even a
// failure.
void save_list(const MainWindow& main);

}  // namespace quorvel
