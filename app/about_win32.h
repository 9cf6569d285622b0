// The About dialog (resource 107).
#pragma once

#include <windows.h>

namespace quorvel {

// Writes the product version of the running executable as the About
// dialog shows it ("0.06" for 0.0.0.6) into text, which holds
// VERSION_TEXT_SIZE bytes; the empty text when the version resource cannot
// be read.
void build_version_text(char* text);

// Run with DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT),
// main_window, about_dialog_proc, 0). Only OK (or Enter) closes it.
INT_PTR CALLBACK about_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace quorvel
