// The main window's toolbar and status bar.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/unique_handle_win32.h"

namespace quorvel {

constexpr int TOOLBAR_ID = 101;
constexpr int STATUS_BAR_ID = 102;

// Creates the toolbar along the top of parent with its twelve records and
// loads its images, drawn for `dpi`, into `images`. The toolbar does not own
// them: the main window keeps them until WM_DESTROY. It takes its width
// from the WM_SIZE the parent passes on.
HWND create_toolbar(HWND parent, HINSTANCE instance, ImageList& images, int dpi);

// Gives the toolbar the images, button size and gaps for `dpi`, destroying
// the images it showed before, and fits its height to them.
void scale_toolbar(HWND toolbar, HINSTANCE instance, ImageList& images, int dpi);

// Creates the empty status bar with a size grip along the bottom of parent.
HWND create_status_bar(HWND parent, HINSTANCE instance);

// The one text across the status bar; "" empties it.
void set_status_text(HWND status_bar, const char* text);

// TTN_NEEDTEXTA from the toolbar's tooltips: points the record at the
// button's string in instance's string table (buttons without a string keep
// their text). Returns the value for the window procedure, 0.
LRESULT fill_toolbar_tooltip(TOOLTIPTEXTA* text, HINSTANCE instance);

}  // namespace quorvel
