// The main window's decisions that need no window: where it opens, how
// wide the list's columns start, which commands are enabled, and what the
// list's context menu offers.
#pragma once

#include <string>
#include <vector>

#include "files/file_system.h"
#include "history/history_store.h"
#include "settings/profile.h"
#include "settings/settings.h"

namespace quorvel {

// The start-up's reading: the window settings, then the history file into
// `history`.
WindowSettings read_start_up(Profile& profile, HistoryStore& history, FileSystem& files,
                             const std::string& history_file);

// Position and size for CreateWindowExA; CW_USEDEFAULT_VALUE leaves a
// value to the platform.
struct WindowBox {
    int x, y, width, height;
};

// The saved right and bottom are already one past the window, so the
// saved size comes back exactly. A size whose edges were not both saved
// is left to the platform.
WindowBox window_box_from_saved(const SavedRect& rect);

// Replaces every unset (0) width by its column's share of the client width
// less one vertical scroll bar; set widths, negative ones too, stay as they are.
void settle_default_widths(int widths[COLUMN_COUNT], int client_left, int client_right,
                           int scroll_bar_width);

struct SelectionCommands {
    bool delete_enabled;
    bool start_enabled;
    bool stop_enabled;
};

// Delete needs a selected row; Stop needs it running ("開始" exactly),
// Start needs it anything else, "開始中" and the empty text included.
SelectionCommands selection_commands(bool row_selected, const std::string& state_text);

bool restore_enabled(const HistoryStore& history);

// The status bar's text after the list was filled: empty, unless services
// may be missing from it.
const char* list_status_text(bool list_complete);

struct ContextMenuItem {
    int command;  // 0 for a separator
    bool greyed;
};

// Start, Stop, a separator and Delete, for the selected row's state text;
// each item reads as the main menu's item of its command.
std::vector<ContextMenuItem> context_menu_items(const std::string& state_text);

}  // namespace quorvel
