// Identifiers shared by quorvel.rc and the C++ sources. Plain macros, so
// that the resource compiler reads the same numbers as the compiler; keep
// this file free of anything but #define.
#pragma once

// Commands: the menu bar, the toolbar and the list's context menu send the
// same identifiers.
#define IDM_EXIT 40001
#define IDM_SAVE_LIST 40002
#define IDM_ABOUT 40004
#define IDM_DELETE 40005
#define IDM_RESTORE 40007
#define IDM_REFRESH 40008
#define IDM_START 40009
#define IDM_STOP 40010
#define IDM_SHOW_ALL 40011

#define IDR_MAIN_MENU 101
#define IDI_QUORVEL 104
#define IDB_TOOLBAR 106
// The toolbar's images drawn for 125 %, 150 % and 200 % (106: 100 %).
#define IDB_TOOLBAR_125 110
#define IDB_TOOLBAR_150 111
#define IDB_TOOLBAR_200 112

#define IDD_RESTORE 105
#define IDC_HISTORY_LIST 1001

#define IDD_ABOUT 107
#define IDC_ABOUT_TEXT 108

// Toolbar tooltips; each is its command's menu text without the access key.
#define IDS_REFRESH 1
#define IDS_SAVE_LIST 2
#define IDS_DELETE 3
#define IDS_RESTORE 4
#define IDS_START 5
#define IDS_STOP 6
#define IDS_SHOW_ALL 7
