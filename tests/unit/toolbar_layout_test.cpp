#include "app/toolbar_layout.h"

#include <gtest/gtest.h>

#include "res/resource.h"

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

}  // namespace
}  // namespace quorvel
