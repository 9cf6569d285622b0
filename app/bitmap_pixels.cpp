#include "app/bitmap_pixels.h"

#include <cstdint>
#include <cstdlib>

#include "text/byte_codes.h"

namespace quorvel {

namespace {

constexpr std::size_t WIDTH_AT = 4, HEIGHT_AT = 8, IMAGE_SIZE_AT = 20, COLOURS_AT = 32;
constexpr std::size_t SMALLEST_HEADER = 40;  // BITMAPINFOHEADER
constexpr int MOST = 1 << 15;                // pixels either way, far beyond any toolbar

void put_little_endian(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::size_t row_bytes(std::int64_t width) { return static_cast<std::size_t>((width * 3 + 3) / 4 * 4); }

}  // namespace

std::string repeat_pixels(const std::string& dib, int factor) {
    if (factor < 1 || factor > 16 || dib.size() < SMALLEST_HEADER) return std::string();
    const std::uint32_t header = little_endian_at(dib, 0, 4);
    const auto width = static_cast<std::int32_t>(little_endian_at(dib, WIDTH_AT, 4));
    const auto height = static_cast<std::int32_t>(little_endian_at(dib, HEIGHT_AT, 4));
    if (header < SMALLEST_HEADER || header > dib.size() || little_endian_at(dib, 12, 2) != 1 ||
        little_endian_at(dib, 14, 2) != 24 || little_endian_at(dib, 16, 4) != 0 || width < 1 ||
        width > MOST || height == 0 || std::abs(static_cast<std::int64_t>(height)) > MOST)
        return std::string();
    const std::uint64_t colours = little_endian_at(dib, COLOURS_AT, 4);
    const std::uint64_t pixels_at = header + 4 * colours;
    const int rows = std::abs(height);  // a negative height is top-down; the order is kept
    const std::size_t stride = row_bytes(width);
    if (pixels_at + static_cast<std::uint64_t>(stride) * rows > dib.size()) return std::string();

    const std::size_t wide_stride = row_bytes(static_cast<std::int64_t>(width) * factor);
    std::string out = dib.substr(0, static_cast<std::size_t>(pixels_at));
    put_little_endian(out, WIDTH_AT, static_cast<std::uint32_t>(width * factor));
    put_little_endian(out, HEIGHT_AT, static_cast<std::uint32_t>(height * factor));
    put_little_endian(out, IMAGE_SIZE_AT,
                      static_cast<std::uint32_t>(wide_stride * rows * factor));
    std::string wide(wide_stride, '\0');
    for (int row = 0; row < rows; ++row) {
        const char* pixel = dib.data() + pixels_at + stride * row;
        for (int x = 0; x < width; ++x, pixel += 3)
            for (int copy = 0; copy < factor; ++copy)
                wide.replace((static_cast<std::size_t>(x) * factor + copy) * 3, 3, pixel, 3);
        for (int copy = 0; copy < factor; ++copy) out += wide;
    }
    return out;
}

}  // namespace quorvel
