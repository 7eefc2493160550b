// Reads Windows bitmap files: BITMAPCOREHEADER, BITMAPINFOHEADER and its V4/V5
// extensions; 1, 4, 8 bpp with a palette, 16, 24 and 32 bpp, BI_RGB and
// BI_BITFIELDS, bottom-up and top-down. Every size is checked against the data
// actually present before anything is allocated, so hostile files give an error.
#pragma once

#include "image.h"

#include <cstdint>
#include <span>
#include <string>

namespace conv {

bool DecodeBmp(std::span<const std::uint8_t> file, Image& out, std::string& error);

// The rows of a valid 24-bit bitmap as they lie in `file` (which must outlive
// them). False for any other file: DecodeBmp converts those.
bool BmpRows(std::span<const std::uint8_t> file, PixelRows& rows);

} // namespace conv
