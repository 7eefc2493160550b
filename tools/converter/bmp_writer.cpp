#include "bmp_writer.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace conv {

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3)
        throw std::length_error("picture size does not match its pixels");
    return EncodeBmpRows(RowsOf(image));
}

std::vector<std::uint8_t> EncodeBmpRows(const PixelRows& image) {
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(image.width) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(image.height);
    constexpr std::uint32_t kHeaders = 14 + 40;
    if (pixelBytes > std::numeric_limits<std::uint32_t>::max() - kHeaders)
        throw std::length_error("picture too large for a bitmap file");

    std::vector<std::uint8_t> file(kHeaders + pixelBytes, 0);
    std::uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<std::uint32_t>(file.size()));
    Put32(h + 10, kHeaders);
    Put32(h + 14, 40);
    Put32(h + 18, static_cast<std::uint32_t>(image.width));
    Put32(h + 22, static_cast<std::uint32_t>(image.height)); // positive: bottom-up
    Put16(h + 26, 1);
    Put16(h + 28, 24);
    Put32(h + 34, static_cast<std::uint32_t>(pixelBytes));
    Put32(h + 38, 3780); // 96 dots per inch
    Put32(h + 42, 3780);

    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* dst = file.data() + kHeaders + stride * (image.height - 1 - y);
        if (image.bgr)
            std::memcpy(dst, image.row(y), static_cast<std::size_t>(image.width) * 3);
        else
            SwapRedBlue(image.row(y), dst, image.width);
    }
    return file;
}

} // namespace conv
