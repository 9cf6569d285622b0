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
    int image;          // index into bitmap 106; meaningless for a separator
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

}  // namespace quorvel
