#include "app/dialog_position.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(CentredOrigin, HalvesTruncateTowardZero) {
    const struct {
        const char* name;
        ScreenRect main_window, dialog;
        ScreenPoint expected;
    } cases[] = {
        {"dialog inside window", {100, 100, 900, 700}, {0, 0, 200, 150}, {400, 325}},
        {"wherever the dialog was", {100, 100, 900, 700}, {-50, 3000, 150, 3150}, {400, 325}},
        {"odd difference", {0, 0, 105, 51}, {10, 10, 110, 60}, {2, 0}},
        {"larger dialog, -5 halves to -2", {100, 100, 200, 200}, {0, 0, 105, 107}, {98, 97}},
        {"larger dialog, -1 halves to 0", {100, 100, 200, 200}, {0, 0, 101, 101}, {100, 100}},
        {"window partly off the screen", {-300, -20, 100, 280}, {0, 0, 100, 100}, {-150, 80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScreenPoint origin = centred_origin(c.main_window, c.dialog);
        EXPECT_EQ(origin.x, c.expected.x);
        EXPECT_EQ(origin.y, c.expected.y);
    }
}

}  // namespace
}  // namespace quorvel
