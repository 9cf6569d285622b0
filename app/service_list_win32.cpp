#include "app/service_list_win32.h"

#include <commctrl.h>

#include "app/main_window_rules.h"
#include "app/toolbar_win32.h"
#include "catalogue/enumeration.h"
#include "catalogue/service_manager_win32.h"
#include "catalogue/service_registry_win32.h"
#include "settings/display_units.h"
#include "text/code_page_win32.h"
#include "text/user_texts.h"

namespace quorvel {

namespace {

constexpr DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL;

void insert_columns(HWND list, const ColumnWidths& widths) {
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = widths[i];
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

// The sort parameter of LVM_SORTITEMS: what compare_rows compares.
struct SortOrder {
    const ServiceTable* table;
    int column;
};

// Two look-ups by key: nothing is searched or copied, so a sort of
// thousands of rows takes milliseconds.
int CALLBACK compare_rows(LPARAM first_key, LPARAM second_key, LPARAM sort_order) {
    const auto* order = reinterpret_cast<const SortOrder*>(sort_order);
    return order->table->compare(static_cast<std::uintptr_t>(first_key),
                                 static_cast<std::uintptr_t>(second_key), order->column);
}

LRESULT CALLBACK list_view_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    HWND parent = GetParent(window);
    if (message == WM_RBUTTONDOWN) {
        // The context menu acts on the row already selected: the press
        // neither selects nor focuses.
        PostMessageA(parent, WM_LIST_CONTEXTMENU, 0, 0);
        return 1;
    }
    return CallWindowProcA(main_window_of(parent)->previous_list_proc, window, message, wparam,
                           lparam);
}

}  // namespace

HWND create_service_list(MainWindow& main) {
    HWND list = CreateWindowExA(0, "SysListView32", "", LIST_STYLE, 0, 0, 0, 0, main.window,
                                reinterpret_cast<HMENU>(LIST_VIEW_ID), main.instance, nullptr);
    LRESULT extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 extended | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(main.window, &client);
    settle_default_widths(main.column_widths.data(), client.left, client.right,
                          GetSystemMetrics(SM_CXVSCROLL));
    insert_columns(list, main.column_widths);
    return list;
}

void subclass_service_list(MainWindow& main) {
    main.previous_list_proc =
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(main.list_view, GWLP_WNDPROC));
    SetWindowLongPtrA(main.list_view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_view_proc));
}

void fill_service_list(MainWindow& main) {
    HWND list = main.list_view;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    Win32ServiceManager scm;
    Win32ServiceRegistry registry;
    Win32CodePage code_page;
    ServiceListing listing =
        read_service_rows(scm, registry, code_page, main.show_all, main.skip_descriptions);
    main.listed_services.replace(std::move(listing.rows));
    set_status_text(main.status_bar, list_status_text(listing.complete));
    // Repainting after every cell costs far more than reading the services.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t key = 0; key < main.listed_services.size(); ++key)
        insert_list_row(list, static_cast<int>(key), main.listed_services.find(key)->texts);
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

void rescale_columns(HWND list, int from_dpi, int to_dpi) {
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, column,
                     MAKELPARAM(rescale(width, from_dpi, to_dpi), 0));
    }
}

const ServiceRow* listed_service(const MainWindow& main, int position) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = position;
    if (position < 0 ||
        !SendMessageA(main.list_view, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return main.listed_services.find(static_cast<std::uintptr_t>(item.lParam));
}

void sort_service_list(MainWindow& main, int column) {
    if (column < 0 || column >= COLUMN_COUNT) return;
    SortOrder order{&main.listed_services, column};
    SendMessageA(main.list_view, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&order),
                 reinterpret_cast<LPARAM>(compare_rows));
}

}  // namespace quorvel
