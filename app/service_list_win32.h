// The main table: a report list view of ServiceRows, filled from the
// Service Control Manager and sorted by a clicked column.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "catalogue/service_row.h"

namespace quorvel {

// Pixel widths by column; 0 means not set. Settled on creation.
extern int column_widths[COLUMN_COUNT];
extern WNDPROC previous_list_proc;

HWND create_service_list(HWND parent);

// Empties the list and lists every service (and with show_all every driver)
// in the Service Control Manager's order; row keys are those positions.
void fill_service_list(HWND list, int show_all);

// Inserts a row of eight texts at `position`, with the position as its key.
void insert_list_row(HWND list, int position, const std::array<std::string, COLUMN_COUNT>& texts);

// The service the main list shows at `position`, whole, found by the row's
// key; null when there is no such row. Nothing is read back from the
// control but the key.
const ServiceRow* listed_service(HWND list, int position);

// Sorts the rows ascending by the column's whole text.
void sort_service_list(HWND list, int column);
int CALLBACK compare_rows(LPARAM first_key, LPARAM second_key, LPARAM column);

LRESULT CALLBACK list_view_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace quorvel
