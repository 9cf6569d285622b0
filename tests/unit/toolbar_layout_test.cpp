#include "app/toolbar_layout.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "settings/display_units.h"

namespace quorvel {
namespace {

TEST(ToolbarButtons, OrderImagesCommandsAndTooltips) {
    const struct {
        std::uint8_t style;
        int image, command, tooltip;
    } expected[TOOLBAR_BUTTON_COUNT] = {
        {TOOLBAR_SEPARATOR, 0, 0, 0},
        {TOOLBAR_PUSH_BUTTON, 0, 40008, 1},
        {TOOLBAR_SEPARATOR, 0, 0, 0},
        {TOOLBAR_PUSH_BUTTON, 1, 40002, 2},
        {TOOLBAR_SEPARATOR, 0, 0, 0},
        {TOOLBAR_PUSH_BUTTON, 2, 40005, 3},
        {TOOLBAR_PUSH_BUTTON, 3, 40007, 4},
        {TOOLBAR_SEPARATOR, 0, 0, 0},
        {TOOLBAR_PUSH_BUTTON, 4, 40009, 5},
        {TOOLBAR_PUSH_BUTTON, 5, 40010, 6},
        {TOOLBAR_SEPARATOR, 0, 0, 0},
        {TOOLBAR_CHECK_BUTTON, 6, 40011, 7},
    };
    for (int i = 0; i < TOOLBAR_BUTTON_COUNT; ++i) {
        SCOPED_TRACE(i);
        const ToolbarButton& b = TOOLBAR_BUTTONS[i];
        EXPECT_EQ(b.style, expected[i].style);
        EXPECT_EQ(b.image, expected[i].image);
        EXPECT_EQ(b.command, expected[i].command);
        EXPECT_EQ(b.tooltip, expected[i].tooltip);
        EXPECT_EQ(b.state, BUTTON_ENABLED);  // the main window greys them as needed
    }
}

TEST(TooltipStringId, EveryButtonCommandAndNothingElse) {
    const struct {
        int command, string_id;
    } cases[] = {
        {IDM_REFRESH, IDS_REFRESH}, {IDM_SAVE_LIST, IDS_SAVE_LIST}, {IDM_DELETE, IDS_DELETE},
        {IDM_RESTORE, IDS_RESTORE}, {IDM_START, IDS_START},         {IDM_STOP, IDS_STOP},
        {IDM_SHOW_ALL, IDS_SHOW_ALL},
        // No button, so the tooltip text is left alone.
        {IDM_EXIT, 0}, {IDM_ABOUT, 0}, {0, 0}, {-1, 0}, {40003, 0}, {40006, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(tooltip_string_id(c.command), c.string_id);
    }
}

TEST(ShowAllButtonState, TouchesOnlyTheCheckedBit) {
    const struct {
        int state;
        bool show_all;
        int expected;
    } cases[] = {
        {BUTTON_ENABLED, true, BUTTON_ENABLED | BUTTON_CHECKED},
        {BUTTON_ENABLED | BUTTON_CHECKED, true, BUTTON_ENABLED | BUTTON_CHECKED},
        {BUTTON_ENABLED | BUTTON_CHECKED, false, BUTTON_ENABLED},
        {BUTTON_ENABLED, false, BUTTON_ENABLED},
        {BUTTON_INDETERMINATE | 0x80, true, BUTTON_INDETERMINATE | 0x80 | BUTTON_CHECKED},
        {0xFF, false, 0xFE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << (c.show_all ? " on" : " off"));
        EXPECT_EQ(show_all_button_state(c.state, c.show_all), c.expected);
    }
}

TEST(ToolbarPictures, EachSetIsThe100PercentSizeScaledToItsDpi) {
    const int bitmaps[TOOLBAR_PICTURE_SET_COUNT] = {IDB_TOOLBAR, IDB_TOOLBAR_125, IDB_TOOLBAR_150,
                                                    IDB_TOOLBAR_200};
    const int dpis[TOOLBAR_PICTURE_SET_COUNT] = {96, 120, 144, 192};
    for (int i = 0; i < TOOLBAR_PICTURE_SET_COUNT; ++i) {
        const ToolbarPictureSet& set = TOOLBAR_PICTURE_SETS[i];
        SCOPED_TRACE(set.dpi);
        EXPECT_EQ(set.bitmap, bitmaps[i]);
        EXPECT_EQ(set.dpi, dpis[i]);
        EXPECT_EQ(set.width, to_pixels(16, set.dpi));
        EXPECT_EQ(set.height, to_pixels(15, set.dpi));
    }
}

TEST(ToolbarPictures, TheLargestThatFitsAndTheFinestOfEqualSize) {
    const struct {
        int dpi, set_dpi, factor, width, height;
    } cases[] = {
        {48, 96, 1, 16, 15},   {96, 96, 1, 16, 15},    {110, 96, 1, 16, 15},
        {120, 120, 1, 20, 19}, {144, 144, 1, 24, 23},  {168, 144, 1, 24, 23},
        {192, 192, 1, 32, 30}, {216, 192, 1, 32, 30},  // not 100 % doubled to the same size
        {240, 120, 2, 40, 38}, {288, 96, 3, 48, 45},   {336, 144, 2, 48, 46},
        {384, 192, 2, 64, 60}, {480, 96, 5, 80, 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const ToolbarPictures pictures = toolbar_pictures(c.dpi);
        EXPECT_EQ(pictures.set->dpi, c.set_dpi);
        EXPECT_EQ(pictures.factor, c.factor);
        EXPECT_EQ(pictures.width(), c.width);
        EXPECT_EQ(pictures.height(), c.height);
    }
    for (int dpi = 96; dpi <= 600; ++dpi) {
        SCOPED_TRACE(dpi);
        const ToolbarPictures pictures = toolbar_pictures(dpi);
        EXPECT_LE(pictures.height(), to_pixels(15, dpi));  // never more than asked for
        EXPECT_GE(pictures.height() * 4, to_pixels(15, dpi) * 3);  // 175 %: 150 %
        if (dpi < 240) {
            EXPECT_EQ(pictures.factor, 1);  // drawn sets only up to 200 %
        }
    }
}

TEST(ToolbarSpacing, TheToolbarsOwnAt96AndScaledAroundTheImages) {
    const struct {
        int dpi, button_width, button_height, separator_width;
    } cases[] = {
        {96, 23, 21, 8},     // what the toolbar makes of 16 x 15 images by itself
        {120, 29, 27, 10},   // 20 x 19 and 9 x 8 around them (8.75, 7.5)
        {144, 35, 32, 12},   // 24 x 23 and 11 x 9
        {168, 36, 34, 14},   // still the 150 % images, 12 x 11 around them
        {192, 46, 42, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const ToolbarSpacing spacing = toolbar_spacing(c.dpi);
        EXPECT_EQ(spacing.button_width, c.button_width);
        EXPECT_EQ(spacing.button_height, c.button_height);
        EXPECT_EQ(spacing.separator_width, c.separator_width);
    }
}

}  // namespace
}  // namespace quorvel
