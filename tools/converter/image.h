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

} // namespace conv
