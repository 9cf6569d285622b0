// The few functions of the common controls DLL the program calls, looked up
// at run time (see platform/ui_libraries_win32.h).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/unique_handle_win32.h"

namespace quorvel {

void init_common_controls();
ImageList create_image_list(int width, int height, UINT flags, int count, int grow);
// Adds the images of `bitmap`, `mask` being the transparent colour.
void add_masked_images(HIMAGELIST images, HBITMAP bitmap, COLORREF mask);

}  // namespace quorvel
