// A packed device-independent bitmap, as the clipboard holds it (CF_DIB): the
// bitmap file without its 14-byte file header.
#pragma once

#include "image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace conv {

// Where the pixels of a packed DIB begin: after the header, the bit-field masks
// that follow a plain info header, and the palette. Zero when the header is
// unreadable or the offset would lie past the data.
std::size_t DibPixelOffset(std::span<const std::uint8_t> dib);

// Reads a packed DIB with the same rules and checks as a bitmap file.
bool DecodeDib(std::span<const std::uint8_t> dib, Image& out, std::string& error);

// A packed 32-bit top-down DIB (BI_RGB) of the picture, ready for the clipboard
// or for StretchDIBits.
std::vector<std::uint8_t> EncodeDib32(const Image& image);

} // namespace conv
