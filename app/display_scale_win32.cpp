#include "app/display_scale_win32.h"

#include <cstddef>

#include "app/gdi_win32.h"
#include "platform/system_library_win32.h"
#include "settings/display_units.h"

namespace quorvel {

namespace {

// Windows 10 1607 and later; user32 is always loaded.
template <typename Function>
Function newer_user32(const char* function_name) {
    return library_function<Function>(GetModuleHandleA("user32.dll"), function_name);
}

using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// Systems without per-monitor DPI give fonts for the screen's DPI, and
// their height is then scaled from that.
void scale_from_screen(LOGFONTW& font, int dpi) {
    font.lfHeight = rescale(font.lfHeight, screen_dpi(), dpi);
}

bool icon_title_font(LOGFONTW& font, int dpi) {
    const auto for_dpi = newer_user32<ForDpi>("SystemParametersInfoForDpi");
    if (for_dpi && for_dpi(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0, dpi)) return true;
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) return false;
    scale_from_screen(font, dpi);
    return true;
}

bool status_bar_font(LOGFONTW& font, int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const auto for_dpi = newer_user32<ForDpi>("SystemParametersInfoForDpi");
    if (for_dpi && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        font = metrics.lfStatusFont;
        return true;
    }
    // Without the field Vista added at the end, which older systems refuse.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return false;
    font = metrics.lfStatusFont;
    scale_from_screen(font, dpi);
    return true;
}

}  // namespace

int screen_dpi() {
    const int dpi = screen_device_caps(LOGPIXELSY);
    return dpi > 0 ? dpi : BASE_DPI;
}

int window_dpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    const auto for_window = newer_user32<ForWindow>("GetDpiForWindow");
    const UINT dpi = for_window ? for_window(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : screen_dpi();
}

Font list_font(int dpi) {
    LOGFONTW font{};
    return icon_title_font(font, dpi) ? create_font(font) : Font();
}

Font status_font(int dpi) {
    LOGFONTW font{};
    return status_bar_font(font, dpi) ? create_font(font) : Font();
}

}  // namespace quorvel
