// The few functions of the common controls DLL the program calls, looked up
// at run time: a static import would let the loader resolve that DLL's own
// imports before the library search is narrowed to the system directory.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quorvel {

void init_common_controls();
HIMAGELIST load_image_list(HINSTANCE instance, LPCSTR bitmap, int width, int grow,
                           COLORREF mask, UINT type, UINT flags);
void destroy_image_list(HIMAGELIST images);

}  // namespace quorvel
