// Window-wide state shared by the parts of the Win32 shell.
#pragma once

#include <windows.h>

#include <string>

#include "history/history_store.h"
#include "res/resource.h"

namespace quorvel {

constexpr UINT WM_LIST_CONTEXTMENU = WM_USER + 1001;

constexpr int LIST_VIEW_ID = 100;

extern HINSTANCE instance;
extern HWND main_window;
extern HWND toolbar;
extern HWND status_bar;
extern HWND list_view;
extern int show_all;           // 1: drivers are listed too
extern int skip_descriptions;  // 1: the Description column stays empty

// The history of deleted services for the whole run, the two files beside
// the executable and the folder of the snapshots of deleted services' keys.
extern HistoryStore history;
extern std::string settings_file;
extern std::string history_file;
extern std::string snapshot_folder;

}  // namespace quorvel
