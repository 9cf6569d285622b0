// The main window: builds the user interface, keeps the list between the
// toolbar and the status bar, routes every command and keeps the commands'
// enabled and checked states in step.
#pragma once

#include <windows.h>

#include "catalogue/service_row.h"

namespace quorvel {

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Refills the table with the current show_all, then updates Delete, Start
// and Stop for the (now empty) selection.
void refresh_table();
void update_selection_commands();
void update_restore_command();

// The selected row, or -1.
int selected_row();

// The selected row's service, whole; null when no row is selected.
const ServiceRow* selected_service();

}  // namespace quorvel
