// The main table's pure rules: default column widths and the text order
// used when a column header is clicked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/service_row.h"

namespace quorvel {

// Replaces every unset (0) width by its column's share of the client width
// less one vertical scroll bar; set widths, negative ones too, stay as they are.
void settle_default_widths(int widths[COLUMN_COUNT], int client_left, int client_right,
                           int scroll_bar_width);

// Byte order with 'A'..'Z' folded to lower case: negative, 0 or positive.
int compare_text(const char* first, const char* second);

// The texts of one column by row key, gathered once before a sort so that a
// comparison is two look-ups instead of two searches through the list.
class SortTable {
public:
    void clear() { texts_.clear(); }
    void add(std::uintptr_t key, std::string text);
    // Ascending text order; equal texts keep the enumeration's order.
    int compare(std::uintptr_t first_key, std::uintptr_t second_key) const;

private:
    const std::string& text_of(std::uintptr_t key) const;
    std::vector<std::string> texts_;  // indexed by key
};

}  // namespace quorvel
