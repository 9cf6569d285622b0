// A bitmap resource's pixels repeated, for toolbar pictures larger than
// the largest drawn set.
#pragma once

#include <string>

namespace quorvel {

// `dib` holds a bitmap resource as the resource compiler stores a .bmp
// file: its BITMAPINFOHEADER (and colour table, if any), then the pixel
// rows. Gives the same bitmap with each pixel repeated `factor` times
// across and down, a whole-pixel enlargement as sharp as the original;
// empty when it is not an uncompressed 24-bit bitmap whole in `dib`, or
// the factor is not from 1 to 16.
std::string repeat_pixels(const std::string& dib, int factor);

}  // namespace quorvel
