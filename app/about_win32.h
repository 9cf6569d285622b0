// The About dialog (resource 107).
#pragma once

#include <windows.h>

namespace quorvel {

// Writes the product version of the running executable as the About
// dialog shows it ("0.06" for 0.0.0.6) into text, which holds
// VERSION_TEXT_SIZE bytes; the empty text when the version resource cannot
// be read.
void build_version_text(char* text);

// The modal About dialog, owned by the main window. Only OK (or Enter)
// closes it.
void run_about_dialog(HWND main_window, HINSTANCE instance);

}  // namespace quorvel
