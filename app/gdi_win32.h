// The GDI functions the program calls, looked up in the system's gdi32.dll,
// which the executable does not import (see common_controls_win32.h).
#pragma once

#include <windows.h>

#include <string>

namespace quorvel {

// GetDeviceCaps of the screen; 0 when it cannot be asked.
int screen_device_caps(int index);

// A font, or null.
HFONT create_font(const LOGFONTW& font);

// A bitmap in the screen's format from the bytes of a bitmap resource
// (header, colours, pixels), as LoadImage makes one; null when it cannot.
HBITMAP screen_bitmap(const std::string& dib);

void delete_gdi_object(HGDIOBJ object);

}  // namespace quorvel
