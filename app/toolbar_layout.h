// The toolbar's buttons as plain data, so that their order, images and
// tooltips can be checked without a window. The Win32 layer turns each
// record into a TBBUTTON when it inserts it.
#pragma once

#include <cstdint>

namespace quorvel {

// Values of TBBUTTON's fsStyle and fsState, repeated here for the portable
// table; toolbar_win32.cpp checks them against the platform's.
enum : std::uint8_t {
    TOOLBAR_PUSH_BUTTON = 0,   // TBSTYLE_BUTTON
    TOOLBAR_SEPARATOR = 1,     // TBSTYLE_SEP
    TOOLBAR_CHECK_BUTTON = 2,  // TBSTYLE_CHECK
};
enum : std::uint8_t {
    BUTTON_CHECKED = 1,         // TBSTATE_CHECKED
    BUTTON_ENABLED = 4,         // TBSTATE_ENABLED
    BUTTON_INDETERMINATE = 16,  // TBSTATE_INDETERMINATE: greyed, not clickable
};

struct ToolbarButton {
    int image;          // index into the image strip; meaningless for a separator
    int command;        // IDM_*; 0 for a separator
    std::uint8_t state;
    std::uint8_t style;
    int tooltip;        // string-table id of the tooltip; 0 for a separator
};

constexpr int TOOLBAR_BUTTON_COUNT = 12;
extern const ToolbarButton TOOLBAR_BUTTONS[TOOLBAR_BUTTON_COUNT];

// The string-table id of the tooltip for the button that sends command, or
// 0 when no button does (the caller then leaves the tooltip text alone).
int tooltip_string_id(int command);

// The Show-all button's state with BUTTON_CHECKED set or cleared to follow
// show_all; every other bit of state is kept.
int show_all_button_state(int state, bool show_all);

// The seven images drawn anew for each of four scalings (res/art), so that
// no scaling shows another's pixels stretched. Each is a strip of seven
// images, image 0 at the left.
constexpr int TOOLBAR_IMAGE_COUNT = 7;
struct ToolbarPictureSet {
    int bitmap;  // resource id
    int dpi;     // the scaling it is drawn for
    int width;   // of one image, in pixels
    int height;
};
constexpr int TOOLBAR_PICTURE_SET_COUNT = 4;
extern const ToolbarPictureSet TOOLBAR_PICTURE_SETS[TOOLBAR_PICTURE_SET_COUNT];

// The pictures a toolbar at `dpi` shows: the set whose images come closest
// to the size the DPI asks for without exceeding it, each pixel repeated
// `factor` times each way where even the largest set is too small
// (250 % and up); a finer set wins over a coarser one repeated to the same
// size. Below 96 DPI the 100 % set.
struct ToolbarPictures {
    const ToolbarPictureSet* set;
    int factor;
    int width() const { return set->width * factor; }
    int height() const { return set->height * factor; }
};
ToolbarPictures toolbar_pictures(int dpi);

// The size of a button (the toolbar's 96-DPI room around an image, scaled,
// around the images drawn for the DPI) and the width of a gap, which the
// toolbar would otherwise keep at their 96-DPI sizes.
struct ToolbarSpacing {
    int button_width;
    int button_height;
    int separator_width;
};
ToolbarSpacing toolbar_spacing(int dpi);

}  // namespace quorvel
