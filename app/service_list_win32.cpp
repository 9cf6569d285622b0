#include "app/service_list_win32.h"

#include <commctrl.h>

#include "app/app_state_win32.h"
#include "app/main_window_rules.h"
#include "app/service_table.h"
#include "catalogue/enumeration.h"
#include "catalogue/service_manager_win32.h"
#include "catalogue/service_registry_win32.h"

namespace quorvel {

int column_widths[COLUMN_COUNT];
WNDPROC previous_list_proc;

namespace {

constexpr DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL;

// What the main list shows, whole, by row key; replaced on every refill.
ServiceTable listed_services;

void insert_columns(HWND list) {
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = column_widths[i];
        column.pszText = const_cast<char*>(COLUMN_HEADERS[i]);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void set_cell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

HWND create_service_list(HWND parent) {
    HWND list = CreateWindowExA(0, "SysListView32", "", LIST_STYLE, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(LIST_VIEW_ID), instance, nullptr);
    LRESULT extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 extended | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(parent, &client);
    settle_default_widths(column_widths, client.left, client.right,
                          GetSystemMetrics(SM_CXVSCROLL));
    insert_columns(list);
    return list;
}

void fill_service_list(HWND list, int show_all) {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    Win32ServiceManager scm;
    Win32ServiceRegistry registry;
    listed_services.replace(
        read_service_rows(scm, registry, show_all != 0, skip_descriptions != 0));
    // Repainting after every cell costs far more than reading the services.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t key = 0; key < listed_services.size(); ++key)
        insert_list_row(list, static_cast<int>(key), listed_services.find(key)->texts);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void insert_list_row(HWND list, int position,
                     const std::array<std::string, COLUMN_COUNT>& texts) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = position;
    item.pszText = const_cast<char*>(texts[COL_NAME].c_str());
    item.lParam = position;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < COLUMN_COUNT; ++column)
        set_cell(list, position, column, texts[column]);
}

const ServiceRow* listed_service(HWND list, int position) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = position;
    if (position < 0 || !SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return listed_services.find(static_cast<std::uintptr_t>(item.lParam));
}

void sort_service_list(HWND list, int column) {
    if (column < 0 || column >= COLUMN_COUNT) return;
    SendMessageA(list, LVM_SORTITEMS, column, reinterpret_cast<LPARAM>(compare_rows));
}

// Two look-ups by key: nothing is searched or copied, so a sort of
// thousands of rows takes milliseconds.
int CALLBACK compare_rows(LPARAM first_key, LPARAM second_key, LPARAM column) {
    return listed_services.compare(static_cast<std::uintptr_t>(first_key),
                                   static_cast<std::uintptr_t>(second_key),
                                   static_cast<int>(column));
}

LRESULT CALLBACK list_view_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_RBUTTONDOWN) {
        // The context menu acts on the row already selected: the press
        // neither selects nor focuses.
        PostMessageA(main_window, WM_LIST_CONTEXTMENU, 0, 0);
        return 1;
    }
    return CallWindowProcA(previous_list_proc, window, message, wparam, lparam);
}

}  // namespace quorvel
