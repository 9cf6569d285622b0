// The main table's pure rules: default column widths and the text order
// used when a column header is clicked.
#pragma once

#include "catalogue/service_row.h"

namespace quorvel {

// Replaces every unset (0) width by its column's share of the client width
// less one vertical scroll bar; set widths, negative ones too, stay as they are.
void settle_default_widths(int widths[COLUMN_COUNT], int client_left, int client_right,
                           int scroll_bar_width);

// Byte order with 'A'..'Z' folded to lower case: negative, 0 or positive.
int compare_text(const char* first, const char* second);

}  // namespace quorvel
