// Baseline TIFF: little-endian, 8-bit RGB, chunky, in strips; LZW with the
// horizontal predictor (the default; uncompressed when LZW would not make the
// file smaller) or uncompressed.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace conv {

enum class TiffCompression { None, Lzw };

struct TiffOptions {
    TiffCompression compression = TiffCompression::Lzw;
    int threads = 0; // 0: one per core
};

bool EncodeTiff(const Image& image, const TiffOptions& options, std::vector<std::uint8_t>& out,
                std::string& error);
// The same from rows of a checked size (a bitmap's, read in place).
bool EncodeTiffRows(const PixelRows& image, const TiffOptions& options,
                    std::vector<std::uint8_t>& out, std::string& error);

// TIFF's LZW (most significant bit first, early code-width change) of one strip,
// starting with a clear code and ending with end-of-information.
std::vector<std::uint8_t> TiffLzw(const std::uint8_t* data, std::size_t size);

} // namespace conv
