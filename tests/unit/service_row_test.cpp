#include "catalogue/service_row.h"

#include <gtest/gtest.h>

#include <cstring>

#include "text/user_texts.h"

namespace quorvel {
namespace {

// Byte counts matter: the reverse type rule compares fixed counts.
TEST(Labels, AreCodePage932BytesOfTheDocumentedLength) {
    EXPECT_EQ(std::strlen(state_label(2)), 6u);
    EXPECT_EQ(std::strlen(state_label(4)), 4u);
    EXPECT_STREQ(state_label(4), "\x8a\x4a\x8e\x6e");  // 開始
    EXPECT_EQ(std::strlen(start_type_label(0)), 6u);
    EXPECT_EQ(std::strlen(start_type_label(1)), 8u);
    EXPECT_EQ(service_type_label(0x10).size(), 12u);
    EXPECT_EQ(service_type_label(0x20).size(), 12u);
    EXPECT_EQ(service_type_label(1).size(), 16u);
    EXPECT_EQ(service_type_label(2).size(), 24u);
    EXPECT_EQ(service_type_label(0x100), "(対話許可)");
    EXPECT_EQ(service_type_label(0x100).size(), 10u);
}

TEST(Labels, ColumnHeadersInColumnOrder) {
    const char* expected[] = {"名前", "説明", "状態", "スタートアップの種類",
                              "ログオン", "パス", "内部名", "種別"};
    for (int i = 0; i < COLUMN_COUNT; ++i) EXPECT_STREQ(COLUMN_HEADERS[i], expected[i]) << i;
}

TEST(Labels, StateLabels) {
    EXPECT_STREQ(state_label(2), "開始中");
    EXPECT_STREQ(state_label(4), "開始");
    for (std::uint32_t other : {0u, 1u, 3u, 5u, 6u, 7u, 8u, 0xFFFFFFFFu})
        EXPECT_STREQ(state_label(other), "") << other;
}

TEST(Labels, RunningTestIsWholeText) {
    EXPECT_TRUE(is_running_label("開始"));
    EXPECT_FALSE(is_running_label("開始中"));
    EXPECT_FALSE(is_running_label(""));
    EXPECT_FALSE(is_running_label(nullptr));
}

TEST(Labels, StartTypesForthAndBack) {
    const char* labels[] = {"ブート", "システム", "自動", "手動", "無効"};
    for (std::uint32_t value = 0; value <= 4; ++value) {
        SCOPED_TRACE(value);
        EXPECT_STREQ(start_type_label(value), labels[value]);
        EXPECT_EQ(start_type_from_label(start_type_label(value)), value);
    }
    EXPECT_STREQ(start_type_label(5), "");
    for (const char* other : {"手動", "", "auto", "自動 ", "無"})
        EXPECT_EQ(start_type_from_label(other), 3u) << other;
}

TEST(Labels, ServiceTypesForthAndBack) {
    const struct {
        std::uint32_t type;
        const char* label;
    } cases[] = {
        {0x10, "独自プロセス"},
        {0x20, "共有プロセス"},
        {0x1, "デバイスドライバ"},
        {0x2, "ファイルシステムドライバ"},
        {0x110, "独自プロセス(対話許可)"},
        {0x120, "共有プロセス(対話許可)"},
        // Per-user services: the template (0x40) and a user's copy (0x80 as well).
        {0x50, "独自プロセス(ユーザー別テンプレート)"},
        {0x60, "共有プロセス(ユーザー別テンプレート)"},
        {0xD0, "独自プロセス(ユーザー別インスタンス)"},
        {0xE0, "共有プロセス(ユーザー別インスタンス)"},
        {0x150, "独自プロセス(対話許可)(ユーザー別テンプレート)"},
        {0x1E0, "共有プロセス(対話許可)(ユーザー別インスタンス)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(service_type_label(c.type), c.label);
        EXPECT_EQ(service_type_from_label(c.label), c.type);
    }
}

TEST(Labels, ServiceTypeRuleOrder) {
    EXPECT_EQ(service_type_label(0x30), "独自プロセス");  // own process wins
    EXPECT_EQ(service_type_label(0x8), "");                 // recognizer driver
    EXPECT_EQ(service_type_label(0x4), "");
    EXPECT_EQ(service_type_label(0x3), "");                 // drivers compare whole values
    EXPECT_EQ(service_type_label(0x101), "(対話許可)");
    EXPECT_EQ(service_type_label(0x1 | 0x100), "(対話許可)");
    EXPECT_EQ(service_type_label(0x1F), "独自プロセス");
}

TEST(Labels, ServiceTypeFromLabelComparesPrefixes) {
    EXPECT_EQ(service_type_from_label("独自プロセス(対話許可)xyz"), 0x110u);
    EXPECT_EQ(service_type_from_label("独自プロセスxyz"), 0x10u);
    EXPECT_EQ(service_type_from_label("共有プロセス(対話"), 0x20u);
    EXPECT_EQ(service_type_from_label("共有プロセ"), 0x10u);  // too short for the prefix
    EXPECT_EQ(service_type_from_label("(対話許可)"), 0x10u);
    EXPECT_EQ(service_type_from_label(""), 0x10u);
    EXPECT_EQ(service_type_from_label("デバイスドライバ(対話許可)"), 0x10u);
    EXPECT_EQ(service_type_from_label("デバイスドライバ "), 0x10u);
}

// The per-user labels come after the process label and the interactive
// mark, and only whole: anything else reads as the process kind alone.
TEST(Labels, PerUserLabelsAreReadOnlyWhole) {
    EXPECT_EQ(service_type_from_label("独自プロセス(ユーザー別テンプレート)x"), 0x10u);
    EXPECT_EQ(service_type_from_label("独自プロセス(ユーザー別)"), 0x10u);
    EXPECT_EQ(service_type_from_label("独自プロセス(ユーザー別テンプレート)(対話許可)"), 0x10u);
    EXPECT_EQ(service_type_from_label("(ユーザー別テンプレート)"), 0x10u);
    EXPECT_EQ(service_type_from_label("デバイスドライバ(ユーザー別インスタンス)"), 0x10u);
    // An instance bit without the template bit, which the platform never
    // reports, is still shown as an instance.
    EXPECT_EQ(service_type_label(0x90), "独自プロセス(ユーザー別インスタンス)");
    // Drivers have no per-user kind.
    EXPECT_EQ(service_type_label(0x41), "");
}

TEST(Labels, BaseServiceTypeDropsOnlyThePerUserBits) {
    const struct {
        std::uint32_t type;
        std::uint32_t base;
    } cases[] = {
        {0x50, 0x10}, {0xD0, 0x10}, {0xE0, 0x20}, {0x150, 0x110}, {0x10, 0x10}, {0x1, 0x1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(base_service_type(c.type), c.base);
    }
}

// The recognizer driver (8) has no label of its own, so only its number
// tells that it is a driver.
TEST(Labels, EveryDriverBitMakesADriver) {
    for (std::uint32_t type : {0x1u, 0x2u, 0x8u, 0x3u, 0x101u}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(is_driver_type(type));
    }
    for (std::uint32_t type : {0x0u, 0x4u, 0x10u, 0x20u, 0x110u, 0x30u}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(is_driver_type(type));
    }
}

}  // namespace
}  // namespace quorvel
