// From a picture's rows to 8x8 blocks of level-shifted samples: colour
// conversion a tile at a time, then blocks loaded into SSE registers. All
// inline: out of line, the tile conversion made the encoder measurably slower.
#pragma once

#include "image.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>

namespace conv {

// Samples go through the transform in tiles of this many columns (a multiple
// of 16) and one MCU row high, so the planes stay in the first-level cache.
inline constexpr int kTile = 64;

// Loads an 8x8 block of a float plane (row stride `stride`) into vectors.
inline void LoadBlock(const float* p, int stride, __m128* v) {
    for (int r = 0; r < 8; ++r, p += stride) {
        v[2 * r] = _mm_loadu_ps(p);
        v[2 * r + 1] = _mm_loadu_ps(p + 4);
    }
}

// Averages 16x16 samples into an 8x8 block, for 4:2:0 chroma.
inline void LoadHalvedBlock(const float* p, int stride, __m128* v) {
    alignas(16) float block[64];
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) {
            const float* q = p + 2 * j * stride + 2 * i;
            block[j * 8 + i] = 0.25f * (q[0] + q[1] + q[stride] + q[stride + 1]);
        }
    LoadBlock(block, 8, v);
}

// Splits 16 RGB pixels into 16 reds, 16 greens and 16 blues: four rounds of
// interleaving the three registers' halves sort the bytes by colour.
inline void SplitSixteen(const std::uint8_t* pixels, std::uint8_t* r, std::uint8_t* g,
                         std::uint8_t* b) {
    __m128i x0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 16));
    __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 32));
    for (int round = 0; round < 4; ++round) {
        const __m128i y0 = _mm_unpackhi_epi8(_mm_slli_si128(x0, 8), x1);
        const __m128i y1 = _mm_unpacklo_epi8(_mm_srli_si128(x0, 8), x2);
        const __m128i y2 = _mm_unpackhi_epi8(_mm_slli_si128(x1, 8), x2);
        x0 = y0;
        x1 = y1;
        x2 = y2;
    }
    _mm_store_si128(reinterpret_cast<__m128i*>(r), x0);
    _mm_store_si128(reinterpret_cast<__m128i*>(g), x1);
    _mm_store_si128(reinterpret_cast<__m128i*>(b), x2);
}

// Converts 8 RGB samples (bytes) to level-shifted Y, Cb, Cr floats.
inline void ConvertEight(const std::uint8_t* r, const std::uint8_t* g, const std::uint8_t* b,
                         float* y, float* cb, float* cr) {
    const __m128i zero = _mm_setzero_si128();
    const auto floats = [&](const std::uint8_t* p, __m128& lo, __m128& hi) {
        const __m128i w =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
        lo = _mm_cvtepi32_ps(_mm_unpacklo_epi16(w, zero));
        hi = _mm_cvtepi32_ps(_mm_unpackhi_epi16(w, zero));
    };
    __m128 rv[2], gv[2], bv[2];
    floats(r, rv[0], rv[1]);
    floats(g, gv[0], gv[1]);
    floats(b, bv[0], bv[1]);
    const auto mix = [&](int h, float kr, float kg, float kb) {
        return _mm_add_ps(
            _mm_add_ps(_mm_mul_ps(rv[h], _mm_set1_ps(kr)), _mm_mul_ps(gv[h], _mm_set1_ps(kg))),
            _mm_mul_ps(bv[h], _mm_set1_ps(kb)));
    };
    for (int h = 0; h < 2; ++h) {
        _mm_storeu_ps(y + 4 * h, _mm_sub_ps(mix(h, 0.299f, 0.587f, 0.114f), _mm_set1_ps(128.0f)));
        _mm_storeu_ps(cb + 4 * h, mix(h, -0.168736f, -0.331264f, 0.5f));
        _mm_storeu_ps(cr + 4 * h, mix(h, 0.5f, -0.418688f, -0.081312f));
    }
}

// Converts columns tileX .. tileX + tileWidth - 1 (a multiple of 8) of `rows`
// picture rows from `top` on into level-shifted Y, Cb, Cr planes of row stride
// kTile. Pixels past the right or bottom edge repeat the edge's.
inline void ConvertTile(const PixelRows& image, int top, int rows, int tileX, int tileWidth,
                        float (*planes)[16 * kTile]) {
    alignas(16) std::uint8_t rgb[3][kTile];
    std::uint8_t* const order[3] = {rgb[image.bgr ? 2 : 0], rgb[1], rgb[image.bgr ? 0 : 2]};
    for (int j = 0; j < rows; ++j) {
        const std::uint8_t* row = image.row(std::min(top + j, image.height - 1));
        int i = 0;
        for (; tileX + i + 16 <= image.width && i < tileWidth; i += 16)
            SplitSixteen(row + 3 * (tileX + i), order[0] + i, order[1] + i, order[2] + i);
        for (; i < tileWidth; ++i) {
            const std::uint8_t* p = row + 3 * std::min(tileX + i, image.width - 1);
            order[0][i] = p[0];
            order[1][i] = p[1];
            order[2][i] = p[2];
        }
        for (int i = 0; i < tileWidth; i += 8)
            ConvertEight(rgb[0] + i, rgb[1] + i, rgb[2] + i, planes[0] + j * kTile + i,
                         planes[1] + j * kTile + i, planes[2] + j * kTile + i);
    }
}

} // namespace conv
