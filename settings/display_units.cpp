#include "settings/display_units.h"

#include <algorithm>

namespace quorvel {

namespace {

// INT32_MIN is CW_USEDEFAULT_VALUE, "unset"; no scaled value becomes it.
constexpr std::int64_t LOWEST = static_cast<std::int64_t>(INT32_MIN) + 1;
constexpr std::int64_t HIGHEST = INT32_MAX;

// Bounds that keep value × DPI inside 64 bits; either lies far beyond
// anything a screen has or a clamped result can show.
constexpr std::int64_t VALUE_BOUND = std::int64_t{1} << 34;
constexpr int DPI_BOUND = 1 << 20;

int valid_dpi(int dpi) { return dpi < 1 ? BASE_DPI : std::min(dpi, DPI_BOUND); }

int clamp_to_int(std::int64_t value) { return static_cast<int>(std::clamp(value, LOWEST, HIGHEST)); }

// value × numerator / denominator, rounded half away from zero.
std::int64_t mul_div(std::int64_t value, int numerator, int denominator) {
    const std::int64_t product = std::clamp(value, -VALUE_BOUND, VALUE_BOUND) * numerator;
    std::int64_t quotient = product / denominator;
    const std::int64_t remainder = product % denominator;
    if (2 * (remainder < 0 ? -remainder : remainder) >= denominator)
        quotient += product < 0 ? -1 : 1;
    return quotient;
}

std::int64_t wide_pixels(std::int64_t units, int dpi) {
    return mul_div(units, valid_dpi(dpi), BASE_DPI);
}

std::int64_t wide_units(std::int64_t pixels, int dpi) {
    return mul_div(pixels, BASE_DPI, valid_dpi(dpi));
}

using Conversion = std::int64_t (*)(std::int64_t, int);

// One axis of the rectangle: the near edge is a position, the far edge the
// near one plus the size. A far edge without its near edge is a position
// too (the start-up then leaves the size to the platform anyway). The sum
// is clamped, not the size: at 96 DPI every value stays exactly as it was.
void convert_span(std::int32_t near_edge, std::int32_t far_edge, std::int32_t& near_out,
                  std::int32_t& far_out, const DisplayScale& scale, Conversion convert) {
    const std::int32_t unset = CW_USEDEFAULT_VALUE;
    near_out = near_edge == unset ? unset : clamp_to_int(convert(near_edge, scale.screen_dpi));
    if (far_edge == unset)
        far_out = unset;
    else if (near_edge == unset)
        far_out = clamp_to_int(convert(far_edge, scale.screen_dpi));
    else
        far_out = clamp_to_int(near_out + convert(static_cast<std::int64_t>(far_edge) - near_edge,
                                                  scale.window_dpi));
}

WindowSettings convert_settings(const WindowSettings& in, const DisplayScale& scale,
                                Conversion convert) {
    WindowSettings out;
    const SavedRect& rect = in.saved_rect;
    convert_span(rect.left, rect.right, out.saved_rect.left, out.saved_rect.right, scale,
                 convert);
    convert_span(rect.top, rect.bottom, out.saved_rect.top, out.saved_rect.bottom, scale,
                 convert);
    for (int column = 0; column < COLUMN_COUNT; ++column)
        out.column_widths[column] = clamp_to_int(convert(in.column_widths[column], scale.window_dpi));
    return out;
}

}  // namespace

int to_pixels(std::int64_t units, int dpi) { return clamp_to_int(wide_pixels(units, dpi)); }

int to_units(std::int64_t pixels, int dpi) { return clamp_to_int(wide_units(pixels, dpi)); }

int rescale(int pixels, int from_dpi, int to_dpi) {
    return to_pixels(to_units(pixels, from_dpi), to_dpi);
}

WindowSettings settings_in_pixels(const WindowSettings& units, const DisplayScale& scale) {
    return convert_settings(units, scale, wide_pixels);
}

WindowSettings settings_in_units(const WindowSettings& pixels, const DisplayScale& scale) {
    return convert_settings(pixels, scale, wide_units);
}

}  // namespace quorvel
