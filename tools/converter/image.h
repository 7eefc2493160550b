// The picture the converter works on: 8-bit RGB, rows top-down, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace conv {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // width * height * 3 bytes, R G B

    std::uint8_t* pixel(int x, int y) {
        return rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    }
    const std::uint8_t* pixel(int x, int y) const {
        return rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    }
};

// 8-bit pixels read where they lie, for an encoder that needs no copy of them.
struct PixelRows {
    int width = 0;
    int height = 0;
    const std::uint8_t* top = nullptr; // the top row
    std::ptrdiff_t stride = 0;         // bytes from a row to the one below; negative if bottom-up
    bool bgr = false;                  // blue, green, red per pixel, as in a bitmap file

    const std::uint8_t* row(int y) const { return top + y * stride; }
};

inline PixelRows RowsOf(const Image& image) {
    return {image.width, image.height, image.rgb.data(), std::ptrdiff_t{image.width} * 3, false};
}

} // namespace conv
