#include "app/toolbar_win32.h"

#include "app/common_controls_win32.h"
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
constexpr int IMAGE_WIDTH = 16;  // the toolbar's default image size is 16 x 15
constexpr int IMAGE_GROW = 15;
constexpr COLORREF TRANSPARENT_COLOUR = RGB(0, 255, 0);
}  // namespace

HWND create_toolbar(HWND parent, HINSTANCE instance, HIMAGELIST& images) {
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(TOOLBAR_ID)),
                                   instance, nullptr);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    images = load_image_list(instance, MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_WIDTH, IMAGE_GROW,
                             TRANSPARENT_COLOUR, IMAGE_BITMAP, LR_DEFAULTCOLOR);
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));

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
