#include <windows.h>
#include <commctrl.h>

#include "app/about_win32.h"
#include "app/app_state_win32.h"
#include "app/service_list_win32.h"
#include "catalogue/service_manager_win32.h"
#include "catalogue/service_registry_win32.h"
#include "history/file_system_win32.h"
#include "operations/prompt_win32.h"
#include "operations/recreation_check.h"
#include "operations/restoration.h"
#include "operations/service_commands_win32.h"
#include "platform/system_library_win32.h"

namespace quorvel {

namespace {

// The history list of the open restore dialog; null while none is open.
HWND restore_list = nullptr;

// Row r shows record r of the history: the list is never sorted and keeps
// its rows while the dialog is open, which is how OK finds the record.
HWND fill_restore_list(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_HISTORY_LIST);
    const LRESULT style = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 style | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    const int unit = (client.right - client.left + 1) / RESTORE_WIDTH_UNITS;
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        LVCOLUMNA header{};
        header.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        header.fmt = LVCFMT_LEFT;
        header.cx = RESTORE_COLUMN_UNITS[column] * unit;
        header.pszText = const_cast<char*>(COLUMN_HEADERS[column]);
        header.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
    }
    // Room for every row at once and no drawing until all are in: a
    // history of many thousand records then opens in moments.
    SendMessageA(list, LVM_SETITEMCOUNT, history.records.size(), 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t record = 0; record < history.records.size(); ++record)
        insert_list_row(list, static_cast<int>(record), split_record(history.records[record]));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    return list;
}

int selected_history_row() {
    return static_cast<int>(SendMessageA(restore_list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void on_init(HWND dialog) {
    center_on_main_window(dialog, main_window);
    // Another copy of the program may have changed the history meanwhile.
    Win32FileSystem files;
    history_reload(history, files, history_file);
    restore_list = fill_restore_list(dialog);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
}

// A 32-bit process on 64-bit Windows. Looked up, since older systems
// have no such call.
bool running_under_wow64() {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto is_wow64 =
        library_function<IsWow64>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return is_wow64 && is_wow64(GetCurrentProcess(), &wow64) && wow64;
}

void end(HWND dialog, INT_PTR result) {
    restore_list = nullptr;
    EndDialog(dialog, result);
}

void on_ok(HWND dialog) {
    const int row = selected_history_row();
    if (row < 0) return;
    Win32Prompt prompt(dialog);
    if (!may_recreate(running_under_wow64(), history, row, prompt)) {
        SetFocus(restore_list);
        return;
    }
    Win32ServiceManager scm;
    Win32ServiceRegistry registry;
    Win32FileSystem files;
    RestorationContext context{scm, registry, prompt, files, snapshot_folder, history_file};
    if (restore_service(context, history, row) == 1) {
        end(dialog, 1);
        return;
    }
    SetFocus(restore_list);
}

INT_PTR CALLBACK restore_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        on_init(dialog);
        return 0;  // the focus is placed on activation
    case WM_ACTIVATE:
        if (LOWORD(wparam) != 0 && restore_list != nullptr) SetFocus(restore_list);
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->hwndFrom == restore_list && header->code == LVN_ITEMCHANGED)
            EnableWindow(GetDlgItem(dialog, IDOK), selected_history_row() >= 0);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) on_ok(dialog);
        // The cancel button, Esc and the close box all arrive as IDCANCEL.
        if (LOWORD(wparam) == IDCANCEL) end(dialog, 2);
        return 0;
    default:
        return 0;
    }
}

}  // namespace

INT_PTR run_restore_dialog() {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_RESTORE), main_window,
                           restore_dialog_proc, 0);
}

}  // namespace quorvel
