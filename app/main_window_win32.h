// app/: the shell, on top of everything; nothing outside app/ includes app/.
//
// The shell: the main window and everything it shows (the list between
// the toolbar and the status bar, the dialogs) and the commands that read
// the selection, run an operation and show its result. The window's state
// has one owner, MainWindow, made in WinMain and kept in the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/display_scale_win32.h"
#include "app/service_table.h"
#include "catalogue/service_row.h"
#include "history/history_store.h"
#include "platform/unique_handle_win32.h"
#include "settings/display_units.h"
#include "settings/settings.h"

namespace quorvel {

// Everything the main window works with, for the whole run. WinMain makes
// it and hands it to CreateWindowExA as the creation data; the window keeps
// it as its user data, where the window procedure, the list's subclass
// and the commands find it.
struct MainWindow {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HWND toolbar = nullptr;
    HWND status_bar = nullptr;
    HWND list_view = nullptr;
    ImageList toolbar_images;              // not the toolbar's: destroyed with the window
    WNDPROC previous_list_proc = nullptr;  // the list view's own, below its subclass
    ServiceTable listed_services;          // what the list shows, whole, by row key
    WindowSettings saved_settings;         // as read at start-up, in 96-DPI units
    ColumnWidths column_widths{};          // pixels; 0 is unset until the list is made
    // The screen's DPI and the window's, which WM_DPICHANGED follows; the
    // fonts of the list, and of the status bar and the tooltips, made for it.
    DisplayScale scale;
    Font list_font;
    Font status_font;
    bool show_all = false;                 // drivers are listed too
    bool skip_descriptions = false;        // the Description column stays empty
    // The history of deleted services, the two files beside the executable
    // and the folder of the snapshots of deleted services' keys.
    HistoryStore history;
    std::string settings_file;
    std::string history_file;
    std::string snapshot_folder;
};

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The state kept in the main window; null before its creation data arrives.
MainWindow* main_window_of(HWND window);

// Refills the table with the current show_all, then updates Delete, Start
// and Stop for the (now empty) selection.
void refresh_table(MainWindow& main);
void update_selection_commands(const MainWindow& main);
void update_restore_command(const MainWindow& main);

// The selected row, or -1.
int selected_row(const MainWindow& main);

// The selected row's service, whole; null when no row is selected.
const ServiceRow* selected_service(const MainWindow& main);

}  // namespace quorvel
