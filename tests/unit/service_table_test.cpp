#include "app/service_table.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvel {
namespace {

ServiceTable table_of(int column, const std::vector<std::string>& texts) {
    std::vector<ServiceRow> rows(texts.size());
    for (std::size_t key = 0; key < texts.size(); ++key) rows[key].texts[column] = texts[key];
    ServiceTable table;
    table.replace(rows);
    return table;
}

std::vector<std::uintptr_t> sorted_keys(const ServiceTable& table, int column) {
    std::vector<std::uintptr_t> keys(table.size());
    for (std::size_t key = 0; key < keys.size(); ++key) keys[key] = key;
    std::sort(keys.begin(), keys.end(),
              [&](auto a, auto b) { return table.compare(a, b, column) < 0; });
    return keys;
}

TEST(ServiceTable, OrdersStateColumnEmptyThenRunningThenStarting) {
    const ServiceTable table = table_of(COL_STATE, {"開始中", "開始", "", "開始", ""});
    // Equal texts keep the enumeration's order.
    EXPECT_EQ(sorted_keys(table, COL_STATE), (std::vector<std::uintptr_t>{2, 4, 1, 3, 0}));
}

// Paths alike in their first 300 bytes are told apart by what follows,
// and a double-byte character there counts as its two bytes.
TEST(ServiceTable, ComparesWholeTexts) {
    const std::string common(300, 'p');
    const ServiceTable table =
        table_of(COL_PATH, {common + "z", common + "B", common + "説明", common + "a", common});
    EXPECT_EQ(sorted_keys(table, COL_PATH), (std::vector<std::uintptr_t>{4, 3, 1, 0, 2}));
}

TEST(ServiceTable, FindsRowsByKeyOnly) {
    const ServiceTable table = table_of(COL_NAME, {"zero", "one"});
    ASSERT_NE(table.find(1), nullptr);
    EXPECT_EQ(table.find(1)->texts[COL_NAME], "one");
    EXPECT_EQ(table.find(2), nullptr);
    // A key the table does not hold reads as the empty text.
    EXPECT_GT(table.compare(0, 2, COL_NAME), 0);
    EXPECT_LT(table.compare(2, 1, COL_NAME), 0);
}

}  // namespace
}  // namespace quorvel
