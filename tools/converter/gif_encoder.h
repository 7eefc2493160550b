// GIF89a: one image, a global colour table, LZW. A picture of at most 256
// colours is written exactly; any other is reduced to 256 colours by median cut,
// with Floyd-Steinberg error diffusion unless dithering is turned off.
#pragma once

#include "image.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace conv {

struct GifOptions {
    bool dither = true;
};

bool EncodeGif(const Image& image, const GifOptions& options, std::vector<std::uint8_t>& out,
               std::string& error);
// The same from rows of a checked size (a bitmap's, read in place).
bool EncodeGifRows(const PixelRows& image, const GifOptions& options,
                   std::vector<std::uint8_t>& out, std::string& error);

// The palette and the index of every pixel, as the encoder chooses them.
struct IndexedImage {
    std::vector<std::array<std::uint8_t, 3>> palette; // 1..256 entries
    std::vector<std::uint8_t> indices;                // width * height, top-down
};

// Exact when the picture has at most 256 colours, otherwise quantized.
IndexedImage ToIndexed(const PixelRows& image, bool dither);

// The LZW data of a GIF image (the bytes after the minimum-code-size byte,
// in sub-blocks, ending with the zero-length block).
std::vector<std::uint8_t> GifLzwBlocks(const std::vector<std::uint8_t>& indices, int minCodeSize);

} // namespace conv
