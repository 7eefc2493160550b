// PNG: 8-bit RGB, adaptive row filters, zlib stream split across threads.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace conv {

struct PngOptions {
    int level = 3;   // zlib level 0..9; 3 is close to 6 in size on screenshots at half the time
    int threads = 0; // 0: one per core
};

bool EncodePng(const Image& image, const PngOptions& options, std::vector<std::uint8_t>& out,
               std::string& error);
// The same from rows of a checked size (a bitmap's, read in place).
bool EncodePngRows(const PixelRows& image, const PngOptions& options,
                   std::vector<std::uint8_t>& out, std::string& error);

} // namespace conv
