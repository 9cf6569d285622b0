#include "app/bitmap_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>

#include "text/byte_codes.h"

namespace quorvel {
namespace {

void put(std::string& bytes, std::size_t at, std::uint32_t value, int width = 4) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

// A BITMAPINFOHEADER and rows of 24-bit pixels; pixel (x, row) is
// (x, row, 7) as bytes, rows as stored.
std::string bitmap(int width, int height, int bits = 24, std::uint32_t compression = 0) {
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    std::string dib(40 + stride * rows, '\0');
    put(dib, 0, 40);
    put(dib, 4, static_cast<std::uint32_t>(width));
    put(dib, 8, static_cast<std::uint32_t>(height));
    put(dib, 12, 1, 2);
    put(dib, 14, static_cast<std::uint32_t>(bits), 2);
    put(dib, 16, compression);
    put(dib, 20, static_cast<std::uint32_t>(stride * rows));
    for (int row = 0; row < rows; ++row)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 40 + stride * row + x * 3;
            dib[at] = static_cast<char>(x);
            dib[at + 1] = static_cast<char>(row);
            dib[at + 2] = 7;
        }
    return dib;
}

TEST(RepeatPixels, EachPixelBecomesASquareAndRowsKeepTheirPadding) {
    const std::string source = bitmap(2, -3);  // top-down, 8-byte rows with 2 bytes of padding
    const std::string big = repeat_pixels(source, 3);
    ASSERT_EQ(big.size(), 40u + 20 * 9);  // 18 bytes of pixels padded to 20, 9 rows
    EXPECT_EQ(static_cast<std::int32_t>(little_endian_at(big, 4, 4)), 6);
    EXPECT_EQ(static_cast<std::int32_t>(little_endian_at(big, 8, 4)), -9);
    EXPECT_EQ(little_endian_at(big, 20, 4), 180u);
    EXPECT_EQ(big.substr(12, 8), source.substr(12, 8));  // planes, depth, compression
    for (int row = 0; row < 9; ++row) {
        for (int x = 0; x < 6; ++x) {
            SCOPED_TRACE(testing::Message() << x << ", " << row);
            const std::size_t at = 40 + 20 * row + x * 3;
            EXPECT_EQ(big[at], static_cast<char>(x / 3));
            EXPECT_EQ(big[at + 1], static_cast<char>(row / 3));
            EXPECT_EQ(big[at + 2], 7);
        }
        EXPECT_EQ(big.substr(40 + 20 * row + 18, 2), std::string(2, '\0'));
    }
    EXPECT_EQ(repeat_pixels(source, 1), source);
}

TEST(RepeatPixels, TheToolbarStripTripledMatchesItPixelForPixel) {
    std::string here = __FILE__;
    std::ifstream in(here.substr(0, here.rfind("tests/unit/")) + "res/toolbar.bmp",
                     std::ios::binary);
    const std::string file(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(file.size(), 14u);
    const std::string dib = file.substr(14);  // as the resource holds it
    const std::string big = repeat_pixels(dib, 3);
    ASSERT_EQ(big.size(), 40u + 1008 * 45);
    for (int row = 0; row < 45; ++row)
        for (int x = 0; x < 336; ++x)
            ASSERT_EQ(big.substr(40 + 1008 * row + x * 3, 3),
                      dib.substr(40 + 336 * (row / 3) + (x / 3) * 3, 3))
                << x << ", " << row;
}

TEST(RepeatPixels, AnythingButAWholeUncompressed24BitBitmapGivesNothing) {
    const std::string good = bitmap(4, 2);
    EXPECT_FALSE(repeat_pixels(good, 16).empty());
    EXPECT_TRUE(repeat_pixels(good, 0).empty());
    EXPECT_TRUE(repeat_pixels(good, 17).empty());
    EXPECT_TRUE(repeat_pixels(good.substr(0, good.size() - 1), 2).empty());  // cut short
    EXPECT_TRUE(repeat_pixels(good.substr(0, 39), 2).empty());
    EXPECT_TRUE(repeat_pixels(bitmap(4, 2, 32), 2).empty());
    EXPECT_TRUE(repeat_pixels(bitmap(4, 2, 24, 1), 2).empty());  // compressed
    EXPECT_TRUE(repeat_pixels(bitmap(4, 0), 2).empty());
    std::string huge = good;
    put(huge, 4, 0x7FFFFFFF);  // a width whose rows could never be there
    EXPECT_TRUE(repeat_pixels(huge, 2).empty());
    std::string colours = good;
    put(colours, 32, 1000);  // a colour table longer than the bytes
    EXPECT_TRUE(repeat_pixels(colours, 2).empty());
}

}  // namespace
}  // namespace quorvel
