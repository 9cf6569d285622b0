// The common controls DLL and gdi32, whose functions the program looks up
// at run time: a static import would let the loader resolve those DLLs'
// own imports before the library search is narrowed to the system
// directory. The executable imports neither.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/system_library_win32.h"

namespace quorvel {

// comctl32 by bare name, so that the version 6 the manifest asks for comes
// from the side-by-side store (the search itself is narrowed to the system
// directory); gdi32 from the system directory. Loaded once, on first use;
// null when missing.
HMODULE common_controls_library();
HMODULE gdi_library();

template <typename Function>
Function common_controls_function(const char* function_name) {
    return library_function<Function>(common_controls_library(), function_name);
}

template <typename Function>
Function gdi_function(const char* function_name) {
    return library_function<Function>(gdi_library(), function_name);
}

}  // namespace quorvel
