#include "app/common_controls_win32.h"

#include "platform/system_library_win32.h"

namespace quorvel {

namespace {

// By bare name, so that the version 6 the manifest asks for comes from the
// side-by-side store; the search itself is narrowed to the system directory.
template <typename Function>
Function common_controls(const char* function_name) {
    static const HMODULE module = LoadLibraryA("comctl32.dll");
    return library_function<Function>(module, function_name);
}

}  // namespace

void init_common_controls() {
    using Init = void(WINAPI*)();
    if (const Init init = common_controls<Init>("InitCommonControls")) init();
}

HIMAGELIST load_image_list(HINSTANCE instance, LPCSTR bitmap, int width, int grow,
                           COLORREF mask, UINT type, UINT flags) {
    using Load = HIMAGELIST(WINAPI*)(HINSTANCE, LPCSTR, int, int, COLORREF, UINT, UINT);
    const Load load = common_controls<Load>("ImageList_LoadImageA");
    return load ? load(instance, bitmap, width, grow, mask, type, flags) : nullptr;
}

void destroy_image_list(HIMAGELIST images) {
    using Destroy = BOOL(WINAPI*)(HIMAGELIST);
    if (const Destroy destroy = common_controls<Destroy>("ImageList_Destroy")) destroy(images);
}

}  // namespace quorvel
