#include "settings/display_units.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel {
namespace {

// The scalings Windows offers (100 % to 500 %) and a few odd DPIs between.
const int DPIS[] = {96, 97, 110, 120, 125, 144, 150, 168, 192, 216, 240, 288, 336, 384, 480};

TEST(DisplayUnits, RoundLikeMulDivAndClampToTheSettingsRange) {
    const struct {
        std::int64_t value;
        int dpi;
        int pixels;
    } to_pixel_cases[] = {
        {100, 144, 150}, {77, 144, 116},  // 115.5: halves go away from zero
        {-5, 144, -8},   {-1, 144, -2},   {1, 144, 2},   {3, 120, 4},  // 3.75
        {2, 120, 3},     {0, 144, 0},     {-800, 96, -800},
        {700, 0, 700},   {700, -144, 700},  // no DPI known: 96
        {INT32_MAX, 144, INT32_MAX},        // clamped, never wrapped
        {INT32_MIN + 1, 144, INT32_MIN + 1},  // never "unset"
        {std::int64_t{1} << 40, 96, INT32_MAX},
    };
    for (const auto& c : to_pixel_cases) {
        SCOPED_TRACE(testing::Message() << c.value << " at " << c.dpi);
        EXPECT_EQ(to_pixels(c.value, c.dpi), c.pixels);
    }
    const struct {
        std::int64_t pixels;
        int dpi;
        int units;
    } to_unit_cases[] = {
        {150, 144, 100}, {116, 144, 77}, {-8, 144, -5}, {1, 144, 1},  // 0.67
        {3, 288, 1},     {-3, 192, -2},  // -1.5
        {INT32_MIN, 72, INT32_MIN + 1},
    };
    for (const auto& c : to_unit_cases) {
        SCOPED_TRACE(testing::Message() << c.pixels << " at " << c.dpi);
        EXPECT_EQ(to_units(c.pixels, c.dpi), c.units);
    }
}

// A setting read and written again without a change is written as it was
// read, at every scaling: nothing creeps by a pixel per start.
TEST(DisplayUnits, UnitsComeBackExactlyAtEveryDpiFrom96Up) {
    std::vector<std::int64_t> values;
    for (std::int64_t v = -20000; v <= 20000; ++v) values.push_back(v);
    for (std::int64_t v : {1000003, -7654321, 123456789, -300000001}) values.push_back(v);
    for (int dpi : DPIS) {
        SCOPED_TRACE(dpi);
        int wrong = 0;
        for (std::int64_t v : values)
            if (to_units(to_pixels(v, dpi), dpi) != v && ++wrong < 5) ADD_FAILURE() << v;
        EXPECT_EQ(wrong, 0);
    }
}

// Below 96 DPI pixels are coarser than units, so a value can move, but
// only once: from then on it comes back as it is.
TEST(DisplayUnits, BelowBaseDpiAValueSettlesAfterOneStart) {
    for (int dpi : {48, 72, 90}) {
        SCOPED_TRACE(dpi);
        for (std::int64_t v = -3000; v <= 3000; ++v) {
            const int once = to_units(to_pixels(v, dpi), dpi);
            ASSERT_EQ(to_units(to_pixels(once, dpi), dpi), once) << v;
            ASSERT_LE(std::abs(once - v), 96 / dpi + 1) << v;
        }
    }
}

TEST(DisplayUnits, RescaledSizesDoNotDriftBetweenTwoMonitors) {
    for (int first : DPIS) {
        for (int second : DPIS) {
            SCOPED_TRACE(testing::Message() << first << " and " << second);
            for (int width : {0, 1, 17, 77, 151, 1003, -5}) {
                const int there = rescale(width, first, second);
                const int back = rescale(there, second, first);
                EXPECT_EQ(rescale(there, second, first), back);
                EXPECT_EQ(rescale(back, first, second), there);
                EXPECT_EQ(rescale(rescale(back, first, second), second, first), back);
            }
            EXPECT_EQ(rescale(to_pixels(77, first), first, second), to_pixels(77, second));
        }
    }
}

WindowSettings settings(SavedRect rect, ColumnWidths widths) {
    WindowSettings s;
    s.saved_rect = rect;
    s.column_widths = widths;
    return s;
}

void expect_same(const WindowSettings& got, const WindowSettings& want) {
    EXPECT_EQ(got.saved_rect.left, want.saved_rect.left);
    EXPECT_EQ(got.saved_rect.top, want.saved_rect.top);
    EXPECT_EQ(got.saved_rect.right, want.saved_rect.right);
    EXPECT_EQ(got.saved_rect.bottom, want.saved_rect.bottom);
    EXPECT_EQ(got.column_widths, want.column_widths);
}

TEST(WindowSettingsScale, AnEarlierFileOpensAtTheSameLogicalPlaceAndSize) {
    const WindowSettings file = settings({100, 50, 700, 450}, {150, 0, 77, 0, 0, 0, 90, -5});
    expect_same(settings_in_pixels(file, {96, 96}), file);
    expect_same(settings_in_pixels(file, {144, 144}),
                settings({150, 75, 1050, 675}, {225, 0, 116, 0, 0, 0, 135, -8}));
    // Written at 150 %, opened at 100 %: the same place and size on the screen.
    expect_same(
        settings_in_units(settings({150, 75, 1050, 675}, {225, 1, 116, 2, 3, 4, 135, -8}),
                          {144, 144}),
        settings({100, 50, 700, 450}, {150, 1, 77, 1, 2, 3, 90, -5}));
}

TEST(WindowSettingsScale, PositionsFollowTheScreenAndSizesTheWindow) {
    // A window on a 150 % monitor beside a 100 % primary one.
    const WindowSettings file = settings({2000, -30, 2600, 370}, {100, 0, 0, 0, 0, 0, 0, 0});
    const WindowSettings shown = settings_in_pixels(file, {96, 144});
    expect_same(shown, settings({2000, -30, 2900, 570}, {150, 0, 0, 0, 0, 0, 0, 0}));
    expect_same(settings_in_units(shown, {96, 144}), file);
}

TEST(WindowSettingsScale, UnsetValuesStayUnset) {
    const std::int32_t unset = CW_USEDEFAULT_VALUE;
    const WindowSettings file = settings({unset, 50, 700, unset}, ColumnWidths{});
    const WindowSettings shown = settings_in_pixels(file, {120, 144});
    // A far edge without its near edge is a position, like the near edges.
    expect_same(shown, settings({unset, 63, 875, unset}, ColumnWidths{}));
    expect_same(settings_in_units(shown, {120, 144}), file);
    expect_same(settings_in_pixels(WindowSettings{}, {144, 144}), WindowSettings{});
}

// The whole life of a settings file: read, shown, closed unchanged, written;
// many times over, at every scaling and with either DPI on either side.
TEST(WindowSettingsScale, RestartsWithoutChangesWriteWhatWasRead) {
    const WindowSettings files[] = {
        settings({101, 53, 703, 457}, {151, 77, 1, 2, 3, 250, 0, -5}),
        settings({-803, -1, -1, 999}, {1, 1, 1, 1, 1, 1, 1, 1}),
        settings({-1000000, 3, 1000000, 5}, {100000, 0, 0, 0, 0, 0, 0, 0}),
    };
    for (int screen : DPIS) {
        for (int window : {96, 120, 144, 192}) {
            const DisplayScale scale{screen, window};
            SCOPED_TRACE(testing::Message() << screen << " / " << window);
            for (const WindowSettings& file : files) {
                WindowSettings now = file;
                for (int start = 0; start < 5; ++start) {
                    now = settings_in_units(settings_in_pixels(now, scale), scale);
                    expect_same(now, file);
                }
            }
        }
    }
}

// Hand-edited values beyond what pixels can hold are clamped, never
// wrapped and never turned into "unset"; at 96 DPI nothing changes at all.
TEST(WindowSettingsScale, ValuesBeyondThePixelRangeAreClamped) {
    const WindowSettings file =
        settings({INT32_MIN + 1, 0, INT32_MAX, 7}, {INT32_MAX, INT32_MIN + 1, 0, 0, 0, 0, 0, 0});
    expect_same(settings_in_pixels(file, {96, 96}), file);
    expect_same(settings_in_units(file, {96, 96}), file);
    expect_same(settings_in_pixels(file, {144, 144}),
                settings({INT32_MIN + 1, 0, INT32_MAX, 11},
                         {INT32_MAX, INT32_MIN + 1, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace quorvel
