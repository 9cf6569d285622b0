#include "platform/ui_libraries_win32.h"

namespace quorvel {

HMODULE common_controls_library() {
    static const HMODULE module = LoadLibraryA("comctl32.dll");
    return module;
}

HMODULE gdi_library() {
    static const HMODULE module = system_library("gdi32.dll");
    return module;
}

}  // namespace quorvel
