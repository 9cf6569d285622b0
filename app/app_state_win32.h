// Window-wide state shared by the parts of the Win32 shell.
#pragma once

#include <windows.h>

#include "res/resource.h"

namespace quorvel {

constexpr UINT WM_LIST_CONTEXTMENU = WM_USER + 1001;

constexpr int LIST_VIEW_ID = 100;

extern HINSTANCE instance;
extern HWND main_window;
extern HWND list_view;
extern int show_all;           // 1: drivers are listed too
extern int skip_descriptions;  // 1: the Description column stays empty

}  // namespace quorvel
