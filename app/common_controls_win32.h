// The few functions of the common controls DLL the program calls, looked up
// at run time: a static import would let the loader resolve that DLL's own
// imports before the library search is narrowed to the system directory.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quorvel {

void init_common_controls();
HIMAGELIST create_image_list(int width, int height, UINT flags, int count, int grow);
// Adds the images of `bitmap`, `mask` being the transparent colour.
void add_masked_images(HIMAGELIST images, HBITMAP bitmap, COLORREF mask);
void destroy_image_list(HIMAGELIST images);

}  // namespace quorvel
