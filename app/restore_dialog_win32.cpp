#include <windows.h>
#include <commctrl.h>

#include "app/dialog_position_win32.h"
#include "app/display_scale_win32.h"
#include "app/service_commands_win32.h"
#include "app/service_list_win32.h"
#include "catalogue/service_manager_win32.h"
#include "catalogue/service_registry_win32.h"
#include "files/file_system_win32.h"
#include "operations/prompt_win32.h"
#include "operations/recreation_check.h"
#include "operations/restoration.h"
#include "platform/system_library_win32.h"
#include "res/resource.h"
#include "text/code_page_win32.h"
#include "text/user_texts.h"
#include "operations/system_paths_win32.h"

namespace quorvel {

namespace {

// Width of each column of the history list, in elevenths of the list's
// client width: the name and the path get the room.
constexpr int RESTORE_COLUMN_UNITS[COLUMN_COUNT] = {3, 1, 1, 1, 1, 2, 1, 1};
constexpr int RESTORE_WIDTH_UNITS = 11;

// What the open dialog works with; DialogBoxParamA brings it and the
// dialog keeps it as DWLP_USER.
struct RestoreDialog {
    MainWindow& main;
    HWND list = nullptr;  // the history list; null once the dialog ends
    int dpi = BASE_DPI;   // the dialog's, which its column widths are made for
};

RestoreDialog* restore_dialog_of(HWND dialog) {
    return reinterpret_cast<RestoreDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Row r shows record r of the history: the list is never sorted and keeps
// its rows while the dialog is open, which is how OK finds the record.
HWND fill_restore_list(HWND dialog, const HistoryStore& history) {
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

int selected_history_row(const RestoreDialog& context) {
    return static_cast<int>(SendMessageA(context.list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void on_init(HWND dialog, RestoreDialog& context) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&context));
    MainWindow& main = context.main;
    center_on_main_window(dialog, main.window);
    // Another copy of the program may have changed the history meanwhile.
    Win32FileSystem files;
    history_reload(main.history, files, main.history_file);
    context.list = fill_restore_list(dialog, main.history);
    context.dpi = window_dpi(dialog);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
}

// The dialog manager scales the dialog, its font and its controls to the
// new DPI; the columns keep their widths in units.
void on_dpi_changed(RestoreDialog& context, int dpi) {
    if (dpi <= 0 || context.list == nullptr) return;
    rescale_columns(context.list, context.dpi, dpi);
    context.dpi = dpi;
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

// IDOK when a service was re-created, IDCANCEL otherwise.
void end(HWND dialog, RestoreDialog& context, INT_PTR result) {
    context.list = nullptr;
    EndDialog(dialog, result);
}

void on_ok(HWND dialog, RestoreDialog& context) {
    const int row = selected_history_row(context);
    if (row < 0) return;
    MainWindow& main = context.main;
    Win32Prompt prompt(dialog);
    if (!may_recreate(running_under_wow64(), main.history, row, prompt)) {
        SetFocus(context.list);
        return;
    }
    Win32ServiceManager scm(MANAGER_CREATE_SERVICE);
    Win32ServiceRegistry registry;
    Win32CodePage code_page;
    Win32SystemPaths paths;
    Win32FileSystem files;
    RestorationContext restoration{scm,   registry, code_page,           paths,
                                   prompt, files,   main.snapshot_folder, main.history_file};
    if (restore_service(restoration, main.history, row)) {
        end(dialog, context, IDOK);
        return;
    }
    SetFocus(context.list);
}

INT_PTR CALLBACK restore_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        on_init(dialog, *reinterpret_cast<RestoreDialog*>(lparam));
        return 0;  // the focus is placed on activation
    }
    RestoreDialog* context = restore_dialog_of(dialog);
    // Messages before WM_INITDIALOG (the font) find no context yet.
    if (context == nullptr) return 0;
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wparam) != 0 && context->list != nullptr) SetFocus(context->list);
        return 0;
    case WM_DPICHANGED:
        on_dpi_changed(*context, HIWORD(wparam));
        return 0;  // and the dialog manager does the rest
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->hwndFrom == context->list && header->code == LVN_ITEMCHANGED)
            EnableWindow(GetDlgItem(dialog, IDOK), selected_history_row(*context) >= 0);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) on_ok(dialog, *context);
        // The cancel button, Esc and the close box all arrive as IDCANCEL.
        if (LOWORD(wparam) == IDCANCEL) end(dialog, *context, IDCANCEL);
        return 0;
    default:
        return 0;
    }
}

}  // namespace

bool run_restore_dialog(MainWindow& main) {
    RestoreDialog context{main};
    return DialogBoxParamA(main.instance, MAKEINTRESOURCEA(IDD_RESTORE), main.window,
                           restore_dialog_proc, reinterpret_cast<LPARAM>(&context)) == IDOK;
}

}  // namespace quorvel
