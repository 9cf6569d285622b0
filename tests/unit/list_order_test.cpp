#include "app/list_order.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

TEST(CompareText, FoldsAsciiCapitalsOnly) {
    const struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"abc", "ABC", 0},
        {"Abc", "abd", -1},
        {"apple", "Banana", -1},   // lower case before a later upper-case letter
        {"Zebra", "apple", 1},
        {"abc", "abcd", -1},       // a prefix sorts first
        {"", "a", -1},
        {"", "", 0},
        {"[", "a", -1},            // 0x5B stays below 0x61
        {"_", "a", -1},
        {"開始", "開始中", -1},
        {"", "開始", -1},
        {"\xE0", "\x7F", 1},       // bytes compare unsigned
        {"\x82\x60", "\x82\x81", -1},  // trail bytes are not folded ('`' < 0x81)
        {"\x82\x41", "\x82\x61", 0},   // ...but a trail byte in 'A'..'Z' is
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(sign(compare_text(c.a, c.b)), c.expected);
        EXPECT_EQ(sign(compare_text(c.b, c.a)), -c.expected);
    }
}

TEST(DefaultWidths, SplitsTheClientWidthIntoThirteenths) {
    int widths[COLUMN_COUNT] = {};
    settle_default_widths(widths, 0, 800, 17);
    EXPECT_EQ(std::vector<int>(widths, widths + 8),
              (std::vector<int>{180, 120, 60, 60, 60, 180, 60, 60}));
}

TEST(DefaultWidths, KeepsWidthsThatAreSet) {
    int widths[COLUMN_COUNT] = {10, 20, 30, 0, -5, 60, 70, 80};
    settle_default_widths(widths, 0, 800, 17);
    EXPECT_EQ(std::vector<int>(widths, widths + 8),
              (std::vector<int>{10, 20, 30, 60, -5, 60, 70, 80}));
}

TEST(DefaultWidths, NarrowClientGivesZeroWidths) {
    int widths[COLUMN_COUNT] = {};
    settle_default_widths(widths, 0, 25, 17);  // W = 9
    EXPECT_EQ(std::vector<int>(widths, widths + 8), std::vector<int>(8, 0));
    settle_default_widths(widths, 0, 10, 17);  // W negative: -6 / 13 truncates to 0
    EXPECT_EQ(std::vector<int>(widths, widths + 8), std::vector<int>(8, 0));
}

}  // namespace
}  // namespace quorvel
