// The save-list command: asks for a file with the save dialog and writes
// the main table into it as comma- or tab-separated text.
#pragma once

#include <windows.h>

namespace quorvel {

// Writes the header row and every row of `list` in its current order to
// the file chosen in a save dialog owned by `main`. Cancel leaves every
// file alone; nothing is ever reported, not even a failure.
void export_list(HWND main, HWND list);

}  // namespace quorvel
