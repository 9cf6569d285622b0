#include "app/main_window_rules.h"

#include "catalogue/service_row.h"
#include "res/resource.h"
#include "text/user_texts.h"

namespace quorvel {

namespace {

// Each column's share of the client width, in thirteenths.
const int COLUMN_UNITS[COLUMN_COUNT] = {3, 2, 1, 1, 1, 3, 1, 1};

}  // namespace

WindowSettings read_start_up(Profile& profile, HistoryStore& history, FileSystem& files,
                             const std::string& history_file) {
    WindowSettings settings = read_settings(profile);
    history_load(history, files, history_file);
    return settings;
}

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

void settle_default_widths(int widths[COLUMN_COUNT], int client_left, int client_right,
                           int scroll_bar_width) {
    const int usable = client_right - scroll_bar_width - client_left + 1;
    const int unit = usable / 13;
    for (int column = 0; column < COLUMN_COUNT; ++column)
        if (widths[column] == 0) widths[column] = COLUMN_UNITS[column] * unit;
}

SelectionCommands selection_commands(bool row_selected, const std::string& state_text) {
    if (!row_selected) return {false, false, false};
    const bool running = is_running_label(state_text.c_str());
    return {true, !running, running};
}

bool restore_enabled(const HistoryStore& history) { return !history_is_empty(history); }

const char* list_status_text(bool list_complete) { return list_complete ? "" : LIST_INCOMPLETE; }

std::vector<ContextMenuItem> context_menu_items(const std::string& state_text) {
    const bool running = is_running_label(state_text.c_str());
    return {
        {IDM_START, running},
        {IDM_STOP, !running},
        {0, false},
        {IDM_DELETE, false},
    };
}

}  // namespace quorvel
