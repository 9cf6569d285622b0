#include "app/main_window_rules.h"

#include "catalogue/service_row.h"
#include "res/resource.h"

namespace quorvel {

WindowBox window_box_from_saved(const SavedRect& rect) {
    const std::int32_t unset = CW_USEDEFAULT_VALUE;
    WindowBox box{rect.left, rect.top, unset, unset};
    // Differences are taken in 64 bits: hand-edited values may be far apart.
    if (rect.left != unset && rect.right != unset)
        box.width = static_cast<int>(static_cast<std::int64_t>(rect.right) - rect.left);
    if (rect.top != unset && rect.bottom != unset)
        box.height = static_cast<int>(static_cast<std::int64_t>(rect.bottom) - rect.top);
    return box;
}

SelectionCommands selection_commands(bool row_selected, const std::string& state_text) {
    if (!row_selected) return {false, false, false};
    const bool running = is_running_label(state_text.c_str());
    return {true, !running, running};
}

bool restore_enabled(const HistoryStore& history) { return !history_is_empty(history); }

std::vector<ContextMenuItem> context_menu_items(const std::string& state_text) {
    const bool running = is_running_label(state_text.c_str());
    return {
        {"開始(&S)", IDM_START, running},
        {"停止(&O)", IDM_STOP, !running},
        {nullptr, 0, false},
        {"削除(&D)", IDM_DELETE, false},
    };
}

}  // namespace quorvel
