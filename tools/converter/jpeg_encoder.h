// Baseline JPEG (JFIF): YCbCr, 4:2:0 or 4:4:4, Huffman tables made for each
// picture, quantization tables scaled by a quality setting as libjpeg users know it.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace conv {

struct JpegOptions {
    int quality = 90; // 1..100
    // 4:2:0 when true. Off by default: screenshots are text and thin coloured
    // lines, whose colour halving would smear (a capture with red text fell from
    // 41.9 to 36.9 dB at quality 90).
    bool subsampleChroma = false;
    int threads = 0; // 0: one per core
};

// The frame header would hold 65,535, but libjpeg and the decoders built on it
// refuse any side over 65,500, so a larger picture is not encoded at all.
inline constexpr int kMaxJpegSide = 65500;

bool EncodeJpeg(const Image& image, const JpegOptions& options, std::vector<std::uint8_t>& out,
                std::string& error);
// The same from rows of a checked size (a bitmap's, read in place).
bool EncodeJpegRows(const PixelRows& image, const JpegOptions& options,
                    std::vector<std::uint8_t>& out, std::string& error);

} // namespace conv
