// The GDI functions the program calls, looked up in the system's gdi32.dll,
// which the executable does not import (see platform/ui_libraries_win32.h).
#pragma once

#include <windows.h>

#include <string>

#include "platform/unique_handle_win32.h"

namespace quorvel {

// GetDeviceCaps of the screen; 0 when it cannot be asked.
int screen_device_caps(int index);

// A font, or none.
Font create_font(const LOGFONTW& font);

// A bitmap in the screen's format from the bytes of a bitmap resource
// (header, colours, pixels), as LoadImage makes one; none when it cannot.
Bitmap screen_bitmap(const std::string& dib);

}  // namespace quorvel
