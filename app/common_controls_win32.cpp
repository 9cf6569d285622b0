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

HIMAGELIST create_image_list(int width, int height, UINT flags, int count, int grow) {
    using Create = HIMAGELIST(WINAPI*)(int, int, UINT, int, int);
    const Create create = common_controls<Create>("ImageList_Create");
    return create ? create(width, height, flags, count, grow) : nullptr;
}

void add_masked_images(HIMAGELIST images, HBITMAP bitmap, COLORREF mask) {
    using Add = int(WINAPI*)(HIMAGELIST, HBITMAP, COLORREF);
    if (const Add add = common_controls<Add>("ImageList_AddMasked")) add(images, bitmap, mask);
}

void destroy_image_list(HIMAGELIST images) {
    using Destroy = BOOL(WINAPI*)(HIMAGELIST);
    if (const Destroy destroy = common_controls<Destroy>("ImageList_Destroy")) destroy(images);
}

}  // namespace quorvel
