// The main table: a report list view of the services of MainWindow's
// table, filled from the Service Control Manager and sorted by a clicked
// column.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "app/main_window_win32.h"
#include "catalogue/service_row.h"

namespace quorvel {

constexpr int LIST_VIEW_ID = 100;

// Posted to the main window by a right press on the list.
constexpr UINT WM_LIST_CONTEXTMENU = WM_USER + 1001;

// Creates the list as a child of main.window, settling the unset column
// widths first.
HWND create_service_list(MainWindow& main);

// Puts a subclass on main.list_view that turns a right press into
// WM_LIST_CONTEXTMENU; the list view's own procedure does the rest.
void subclass_service_list(MainWindow& main);

// Empties the list and lists every service (and with show_all every driver)
// in the Service Control Manager's order; row keys are those positions.
void fill_service_list(MainWindow& main);

// Inserts a row of eight texts at `position`, with the position as its key.
void insert_list_row(HWND list, int position, const std::array<std::string, COLUMN_COUNT>& texts);

// Sets the widths of a list's eight columns, made for from_dpi, for to_dpi.
void rescale_columns(HWND list, int from_dpi, int to_dpi);

// The service the main list shows at `position`, whole, found by the row's
// key; null when there is no such row. Nothing is read back from the
// control but the key.
const ServiceRow* listed_service(const MainWindow& main, int position);

// Sorts the rows ascending by the column's whole text.
void sort_service_list(MainWindow& main, int column);

}  // namespace quorvel
