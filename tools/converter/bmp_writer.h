// Writes a picture as a 24-bit bottom-up Windows bitmap (BITMAPINFOHEADER, BI_RGB).
#pragma once

#include "image.h"

#include <cstdint>
#include <vector>

namespace conv {

// The complete file. Throws std::length_error when the picture's size does not
// match its pixel buffer or the file would not fit the format's 32-bit sizes.
std::vector<std::uint8_t> EncodeBmp(const Image& image);
// The same from rows (a bitmap's, read in place); only the file size is checked.
std::vector<std::uint8_t> EncodeBmpRows(const PixelRows& image);

} // namespace conv
