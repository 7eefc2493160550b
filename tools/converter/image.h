// The picture the converter works on: 8-bit RGB, rows top-down, no padding.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Copies `width` pixels with the first and third bytes traded: BGR to RGB and
// back. Five pixels per 16-byte step, the 16th byte written again by the next.
inline void SwapRedBlue(const std::uint8_t* src, std::uint8_t* dst, int width) {
    const __m128i middle = _mm_setr_epi8(0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0);
    const __m128i first = _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0);
    const __m128i third = _mm_slli_si128(first, 2);
    int x = 0;
    for (; x + 6 <= width; x += 5, src += 15, dst += 15) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i out = _mm_or_si128(
            _mm_or_si128(_mm_and_si128(_mm_srli_si128(in, 2), first), _mm_and_si128(in, middle)),
            _mm_and_si128(_mm_slli_si128(in, 2), third));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out);
    }
    for (; x < width; ++x, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

// Copies row `y` into `dst` (width * 3 bytes) in red, green, blue order.
inline void CopyRgbRow(const PixelRows& rows, int y, std::uint8_t* dst) {
    if (rows.bgr)
        SwapRedBlue(rows.row(y), dst, rows.width);
    else
        std::memcpy(dst, rows.row(y), static_cast<std::size_t>(rows.width) * 3);
}

// Row `y` in red, green, blue order: the row itself, or its copy in `scratch`
// (width * 3 bytes) when it lies blue first.
inline const std::uint8_t* RgbRow(const PixelRows& rows, int y, std::uint8_t* scratch) {
    if (!rows.bgr)
        return rows.row(y);
    SwapRedBlue(rows.row(y), scratch, rows.width);
    return scratch;
}

} // namespace conv
