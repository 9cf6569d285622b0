#include "app/toolbar_layout.h"

#include "res/resource.h"
#include "settings/display_units.h"

namespace quorvel {

namespace {
constexpr ToolbarButton separator() {
    return {0, 0, BUTTON_ENABLED, TOOLBAR_SEPARATOR, 0};
}
constexpr ToolbarButton button(int image, int command, int tooltip,
                               std::uint8_t style = TOOLBAR_PUSH_BUTTON) {
    return {image, command, BUTTON_ENABLED, style, tooltip};
}
}  // namespace

// Left to right. The leading separator keeps the first button off the
// window edge; Exit and About have no button.
const ToolbarButton TOOLBAR_BUTTONS[TOOLBAR_BUTTON_COUNT] = {
    separator(),
    button(0, IDM_REFRESH, IDS_REFRESH),
    separator(),
    button(1, IDM_SAVE_LIST, IDS_SAVE_LIST),
    separator(),
    button(2, IDM_DELETE, IDS_DELETE),
    button(3, IDM_RESTORE, IDS_RESTORE),
    separator(),
    button(4, IDM_START, IDS_START),
    button(5, IDM_STOP, IDS_STOP),
    separator(),
    button(6, IDM_SHOW_ALL, IDS_SHOW_ALL, TOOLBAR_CHECK_BUTTON),
};

int tooltip_string_id(int command) {
    for (const ToolbarButton& b : TOOLBAR_BUTTONS) {
        if (b.style != TOOLBAR_SEPARATOR && b.command == command) return b.tooltip;
    }
    return 0;
}

int show_all_button_state(int state, bool show_all) {
    return show_all ? (state | BUTTON_CHECKED) : (state & ~BUTTON_CHECKED);
}

// 16 x 15 at 100 %, the toolbar's own image size, and that size scaled.
const ToolbarPictureSet TOOLBAR_PICTURE_SETS[TOOLBAR_PICTURE_SET_COUNT] = {
    {IDB_TOOLBAR, 96, 16, 15},
    {IDB_TOOLBAR_125, 120, 20, 19},
    {IDB_TOOLBAR_150, 144, 24, 23},
    {IDB_TOOLBAR_200, 192, 32, 30},
};

ToolbarPictures toolbar_pictures(int dpi) {
    const int wanted = to_pixels(TOOLBAR_PICTURE_SETS[0].height, dpi);
    ToolbarPictures best{&TOOLBAR_PICTURE_SETS[0], 1};
    for (const ToolbarPictureSet& set : TOOLBAR_PICTURE_SETS) {
        for (int factor = 1; set.height * factor <= wanted; ++factor) {
            const ToolbarPictures candidate{&set, factor};
            if (candidate.height() > best.height() ||
                (candidate.height() == best.height() && factor < best.factor))
                best = candidate;
        }
    }
    return best;
}

ToolbarSpacing toolbar_spacing(int dpi) {
    const ToolbarPictures pictures = toolbar_pictures(dpi);
    // At 96 DPI the toolbar's own: 7 and 6 pixels around the image, 8 for a gap.
    return {pictures.width() + to_pixels(7, dpi), pictures.height() + to_pixels(6, dpi),
            to_pixels(8, dpi)};
}

}  // namespace quorvel
