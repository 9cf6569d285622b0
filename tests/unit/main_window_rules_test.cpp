#include "app/main_window_rules.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "fakes/fake_profile.h"
#include "res/resource.h"

namespace quorvel {
namespace {

using testing::FakeFileSystem;
using testing::FakeProfile;

TEST(WindowBox, RestoresTheSavedSizeExactly) {
    const WindowBox box = window_box_from_saved({100, 50, 700, 450});
    EXPECT_EQ(box.x, 100);
    EXPECT_EQ(box.y, 50);
    EXPECT_EQ(box.width, 600);
    EXPECT_EQ(box.height, 400);
}

TEST(WindowBox, AnUnsavedEdgeLeavesThatSizeToThePlatform) {
    const int unset = CW_USEDEFAULT_VALUE;
    const WindowBox no_left = window_box_from_saved({unset, 50, 700, 450});
    EXPECT_EQ(no_left.x, unset);
    EXPECT_EQ(no_left.width, unset);
    EXPECT_EQ(no_left.height, 400);
    const WindowBox none = window_box_from_saved({});
    EXPECT_EQ(none.x, unset);
    EXPECT_EQ(none.y, unset);
    EXPECT_EQ(none.width, unset);
    EXPECT_EQ(none.height, unset);
    // A window left of the primary monitor keeps its negative position.
    const WindowBox left_monitor = window_box_from_saved({-800, -10, -100, 490});
    EXPECT_EQ(left_monitor.x, -800);
    EXPECT_EQ(left_monitor.width, 700);
}

TEST(SelectionCommands, FollowTheSelectedRowsState) {
    const struct {
        bool selected;
        const char* state;
        SelectionCommands expected;
    } cases[] = {
        {false, "", {false, false, false}},
        {false, "開始", {false, false, false}},
        {true, "開始", {true, false, true}},
        {true, "開始中", {true, true, false}},  // starting is not running
        {true, "", {true, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.selected ? "selected " : "none ") + c.state);
        const SelectionCommands got = selection_commands(c.selected, c.state);
        EXPECT_EQ(got.delete_enabled, c.expected.delete_enabled);
        EXPECT_EQ(got.start_enabled, c.expected.start_enabled);
        EXPECT_EQ(got.stop_enabled, c.expected.stop_enabled);
    }
}

TEST(RestoreCommand, EnabledExactlyWhileTheHistoryHoldsARecord) {
    HistoryStore history;
    EXPECT_FALSE(restore_enabled(history));
    history.records = {"a,,,,,,a,"};
    EXPECT_TRUE(restore_enabled(history));
    history_clear(history);
    EXPECT_FALSE(restore_enabled(history));
}

TEST(ContextMenu, OffersStartOrStopByStateAndAlwaysDelete) {
    const auto running = context_menu_items("開始");
    ASSERT_EQ(running.size(), 4u);
    EXPECT_EQ(running[0].command, IDM_START);
    EXPECT_TRUE(running[0].greyed);
    EXPECT_EQ(running[1].command, IDM_STOP);
    EXPECT_FALSE(running[1].greyed);
    EXPECT_EQ(running[2].command, 0);  // a separator
    EXPECT_EQ(running[3].command, IDM_DELETE);
    EXPECT_FALSE(running[3].greyed);

    for (const char* state : {"開始中", ""}) {
        const auto stopped = context_menu_items(state);
        EXPECT_FALSE(stopped[0].greyed) << state;
        EXPECT_TRUE(stopped[1].greyed) << state;
        EXPECT_FALSE(stopped[3].greyed) << state;
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

TEST(StartUp, ReadsTheSettingsThenTheHistory) {
    FakeProfile profile;
    profile.values["top"] = "20";
    FakeFileSystem files;
    files.files["C:\\q.his"] = "A\r\nB\r\n";
    HistoryStore history;
    history.records = {"stale"};
    WindowSettings read = read_start_up(profile, history, files, "C:\\q.his");
    EXPECT_EQ(read.saved_rect.top, 20);
    EXPECT_EQ(history.records, (std::vector<HistoryRecord>{"A", "B"}));
    EXPECT_TRUE(files.unlocked_reads.empty());  // another copy's save may be under way
}

}  // namespace
}  // namespace quorvel
