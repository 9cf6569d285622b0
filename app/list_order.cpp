#include "app/list_order.h"

namespace quorvel {

namespace {

// Each column's share of the client width, in thirteenths.
const int COLUMN_UNITS[COLUMN_COUNT] = {3, 2, 1, 1, 1, 3, 1, 1};

unsigned char folded(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

void settle_default_widths(int widths[COLUMN_COUNT], int client_left, int client_right,
                           int scroll_bar_width) {
    const int usable = client_right - scroll_bar_width - client_left + 1;
    const int unit = usable / 13;
    for (int column = 0; column < COLUMN_COUNT; ++column)
        if (widths[column] == 0) widths[column] = COLUMN_UNITS[column] * unit;
}

int compare_text(const char* first, const char* second) {
    const auto* a = reinterpret_cast<const unsigned char*>(first);
    const auto* b = reinterpret_cast<const unsigned char*>(second);
    for (;; ++a, ++b) {
        const int difference = folded(*a) - folded(*b);
        if (difference != 0 || *a == 0) return difference;
    }
}

}  // namespace quorvel
