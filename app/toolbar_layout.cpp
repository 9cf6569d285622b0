#include "app/toolbar_layout.h"

#include "res/resource.h"

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

}  // namespace quorvel
