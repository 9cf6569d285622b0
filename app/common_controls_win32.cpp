#include "app/common_controls_win32.h"

#include "platform/ui_libraries_win32.h"

namespace quorvel {

void init_common_controls() {
    using Init = void(WINAPI*)();
    if (const Init init = common_controls_function<Init>("InitCommonControls")) init();
}

ImageList create_image_list(int width, int height, UINT flags, int count, int grow) {
    using Create = HIMAGELIST(WINAPI*)(int, int, UINT, int, int);
    const Create create = common_controls_function<Create>("ImageList_Create");
    return ImageList(create ? create(width, height, flags, count, grow) : nullptr);
}

void add_masked_images(HIMAGELIST images, HBITMAP bitmap, COLORREF mask) {
    using Add = int(WINAPI*)(HIMAGELIST, HBITMAP, COLORREF);
    if (const Add add = common_controls_function<Add>("ImageList_AddMasked"))
        add(images, bitmap, mask);
}

}  // namespace quorvel
