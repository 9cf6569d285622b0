#include "settings/settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_profile.h"

namespace quorvel {
namespace {

using testing::FakeProfile;

TEST(ProfileInt, ReadsTheLeadingDecimalInteger) {
    const struct {
        const char* value;
        int expected;
    } cases[] = {
        {"120", 120},
        {"120px", 120},
        {"abc", 0},
        {"-800", -800},
        {"+5", 5},
        {"  42", 42},
        {"-", 0},
        {"--5", 0},
        {"007", 7},
        {"0x1F", 0},        // decimal only
        {"-0x10", 0},
        {"12 34", 12},
        {"-2147483648", INT32_MIN},
        {"4294967297", 1},  // wraps modulo 2^32
        {"", 77},           // empty or blank: the default
        {" \t", 77},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(profile_int(std::string(c.value), 77), c.expected);
    }
    EXPECT_EQ(profile_int(std::nullopt, 77), 77);
}

TEST(ReadSettings, EveryAbsentValueTakesItsOwnDefault) {
    FakeProfile profile;
    WindowSettings first = read_settings(profile);
    EXPECT_EQ(first.saved_rect.left, CW_USEDEFAULT_VALUE);
    EXPECT_EQ(first.saved_rect.bottom, CW_USEDEFAULT_VALUE);
    EXPECT_EQ(first.column_widths, ColumnWidths{});

    profile.values = {{"left", "-800"}, {"right", "300"}, {"itemwide3", "abc"},
                      {"itemwide5", "120px"}, {"itemwide7", "-5"}};
    WindowSettings read = read_settings(profile);
    EXPECT_EQ(read.saved_rect.left, -800);
    EXPECT_EQ(read.saved_rect.top, CW_USEDEFAULT_VALUE);
    EXPECT_EQ(read.saved_rect.right, 300);
    EXPECT_EQ(read.saved_rect.bottom, CW_USEDEFAULT_VALUE);
    EXPECT_EQ(read.column_widths, (ColumnWidths{0, 0, 0, 0, 0, 120, 0, -5}));
}

TEST(SaveSettings, WritesTwelveKeysInOrderAndReadsThemBack) {
    WindowSettings saved;
    saved.saved_rect = {-800, 10, CW_USEDEFAULT_VALUE, 600};
    saved.column_widths = {150, 1, 2, 3, 0, -5, 6, 70};
    FakeProfile profile;
    save_settings(profile, saved);
    EXPECT_EQ(profile.written_keys,
              (std::vector<std::string>{"left", "top", "right", "bottom", "itemwide0",
                                        "itemwide1", "itemwide2", "itemwide3", "itemwide4",
                                        "itemwide5", "itemwide6", "itemwide7"}));
    EXPECT_EQ(profile.values["right"], "-2147483648");
    EXPECT_EQ(profile.values["itemwide5"], "-5");

    WindowSettings read = read_settings(profile);
    EXPECT_EQ(read.column_widths, saved.column_widths);
    EXPECT_EQ(read.saved_rect.left, -800);
    EXPECT_EQ(read.saved_rect.right, CW_USEDEFAULT_VALUE);
}

}  // namespace
}  // namespace quorvel
