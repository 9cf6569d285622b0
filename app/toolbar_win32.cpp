#include "app/toolbar_win32.h"

#include <utility>

#include "app/bitmap_pixels.h"
#include "app/common_controls_win32.h"
#include "app/gdi_win32.h"
#include "app/toolbar_layout.h"
#include "res/resource.h"

namespace quorvel {

static_assert(TOOLBAR_PUSH_BUTTON == TBSTYLE_BUTTON && TOOLBAR_SEPARATOR == TBSTYLE_SEP &&
                  TOOLBAR_CHECK_BUTTON == TBSTYLE_CHECK,
              "toolbar styles");
static_assert(BUTTON_CHECKED == TBSTATE_CHECKED && BUTTON_ENABLED == TBSTATE_ENABLED &&
                  BUTTON_INDETERMINATE == TBSTATE_INDETERMINATE,
              "toolbar states");

namespace {

constexpr COLORREF TRANSPARENT_COLOUR = RGB(0, 255, 0);

// The strip of the pictures for the DPI, each pixel repeated as they ask:
// LoadImage's own stretching blends the transparent green into the edges.
Bitmap load_strip(HINSTANCE instance, const ToolbarPictures& pictures) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(pictures.set->bitmap), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr) return Bitmap();
    return screen_bitmap(
        repeat_pixels(std::string(bytes, SizeofResource(instance, found)), pictures.factor));
}

// The pictures for the DPI as a masked image list. ILC_COLOR is the depth
// ImageList_LoadImage gives loaded bitmaps, for which they are drawn.
ImageList load_toolbar_images(HINSTANCE instance, int dpi) {
    const ToolbarPictures pictures = toolbar_pictures(dpi);
    const Bitmap strip = load_strip(instance, pictures);
    if (!strip) return ImageList();
    ImageList images = create_image_list(pictures.width(), pictures.height(), ILC_COLOR | ILC_MASK,
                                         TOOLBAR_IMAGE_COUNT, 0);
    if (images) add_masked_images(images.get(), strip.get(), TRANSPARENT_COLOUR);
    return images;
}

}  // namespace

void scale_toolbar(HWND toolbar, HINSTANCE instance, ImageList& images, int dpi) {
    ImageList scaled = load_toolbar_images(instance, dpi);
    if (scaled) {
        // The toolbar takes its image size from the list, but grows its
        // buttons only: their size is given below. It lets go of the old
        // list before that is destroyed.
        SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(scaled.get()));
        images = std::move(scaled);
    }
    const ToolbarSpacing spacing = toolbar_spacing(dpi);
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(spacing.button_width, spacing.button_height));
    // A separator's width is its image index.
    for (int i = 0; i < TOOLBAR_BUTTON_COUNT; ++i) {
        if (TOOLBAR_BUTTONS[i].style != TOOLBAR_SEPARATOR) continue;
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_BYINDEX | TBIF_IMAGE;
        info.iImage = spacing.separator_width;
        SendMessageA(toolbar, TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
}

HWND create_toolbar(HWND parent, HINSTANCE instance, ImageList& images, int dpi) {
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(TOOLBAR_ID)),
                                   instance, nullptr);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    for (int i = 0; i < TOOLBAR_BUTTON_COUNT; ++i) {
        const ToolbarButton& record = TOOLBAR_BUTTONS[i];
        TBBUTTON button = {};
        button.iBitmap = record.image;
        button.idCommand = record.command;
        button.fsState = record.state;
        button.fsStyle = record.style;
        // dwData and iString stay 0: the buttons carry no text; their
        // tooltips come from fill_toolbar_tooltip.
        SendMessageA(toolbar, TB_INSERTBUTTONA, i, reinterpret_cast<LPARAM>(&button));
    }
    scale_toolbar(toolbar, instance, images, dpi);
    return toolbar;
}

HWND create_status_bar(HWND parent, HINSTANCE instance) {
    HWND status_bar = CreateWindowExA(
        0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(STATUS_BAR_ID)), instance,
        nullptr);
    // Simple mode: one part across the whole width. It stays empty but for
    // what the list must say about itself, and carries the size grip.
    SendMessageA(status_bar, SB_SIMPLE, TRUE, 0);
    return status_bar;
}

void set_status_text(HWND status_bar, const char* text) {
    SendMessageA(status_bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
}

LRESULT fill_toolbar_tooltip(TOOLTIPTEXTA* text, HINSTANCE instance) {
    text->hinst = instance;
    const int string_id = tooltip_string_id(static_cast<int>(text->hdr.idFrom));
    // A resource id rather than a text: the tooltip loads the string from
    // hinst's string table itself.
    if (string_id != 0) text->lpszText = MAKEINTRESOURCEA(string_id);
    return 0;
}

}  // namespace quorvel
