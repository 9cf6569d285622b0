#include "app/dialog_position.h"

namespace quorvel {

ScreenPoint centred_origin(const ScreenRect& main_window, const ScreenRect& dialog) {
    const int main_width = main_window.right - main_window.left;
    const int main_height = main_window.bottom - main_window.top;
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    // C++ division truncates toward zero, which is the rule wanted here;
    // a shift would round a negative overhang the other way.
    return {main_window.left + (main_width - width) / 2,
            main_window.top + (main_height - height) / 2};
}

}  // namespace quorvel
