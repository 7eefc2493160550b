// The forward DCT and quantization of 8x8 blocks (SSE2), and the quantization
// tables and zigzag order that go with them. The per-block work is inline here:
// a call per block would cost the encoder a few percent.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace conv {

// The quantization table for a quality, in natural (row-major) order.
std::array<std::uint16_t, 64> QuantTable(bool chroma, int quality);

// Zigzag position k -> natural index.
const std::array<std::uint8_t, 64>& ZigzagOrder();

// One-dimensional AAN forward DCT on eight vectors, four lines at a time.
inline void Dct8(__m128* v, int stride) {
    __m128 &p0 = v[0], &p1 = v[stride], &p2 = v[2 * stride], &p3 = v[3 * stride];
    __m128 &p4 = v[4 * stride], &p5 = v[5 * stride], &p6 = v[6 * stride], &p7 = v[7 * stride];
    const __m128 t0 = _mm_add_ps(p0, p7), t7 = _mm_sub_ps(p0, p7);
    const __m128 t1 = _mm_add_ps(p1, p6), t6 = _mm_sub_ps(p1, p6);
    const __m128 t2 = _mm_add_ps(p2, p5), t5 = _mm_sub_ps(p2, p5);
    const __m128 t3 = _mm_add_ps(p3, p4), t4 = _mm_sub_ps(p3, p4);

    const __m128 t10 = _mm_add_ps(t0, t3), t13 = _mm_sub_ps(t0, t3);
    const __m128 t11 = _mm_add_ps(t1, t2), t12 = _mm_sub_ps(t1, t2);
    p0 = _mm_add_ps(t10, t11);
    p4 = _mm_sub_ps(t10, t11);
    const __m128 z1 = _mm_mul_ps(_mm_add_ps(t12, t13), _mm_set1_ps(0.707106781f));
    p2 = _mm_add_ps(t13, z1);
    p6 = _mm_sub_ps(t13, z1);

    const __m128 s10 = _mm_add_ps(t4, t5), s11 = _mm_add_ps(t5, t6), s12 = _mm_add_ps(t6, t7);
    const __m128 z5 = _mm_mul_ps(_mm_sub_ps(s10, s12), _mm_set1_ps(0.382683433f));
    const __m128 z2 = _mm_add_ps(_mm_mul_ps(s10, _mm_set1_ps(0.541196100f)), z5);
    const __m128 z4 = _mm_add_ps(_mm_mul_ps(s12, _mm_set1_ps(1.306562965f)), z5);
    const __m128 z3 = _mm_mul_ps(s11, _mm_set1_ps(0.707106781f));
    const __m128 z11 = _mm_add_ps(t7, z3), z13 = _mm_sub_ps(t7, z3);
    p5 = _mm_add_ps(z13, z2);
    p3 = _mm_sub_ps(z13, z2);
    p1 = _mm_add_ps(z11, z4);
    p7 = _mm_sub_ps(z11, z4);
}

// Two-dimensional DCT of a block held as v[row * 2 + half]. The result comes
// out transposed: v[row * 2 + half] holds horizontal frequency `row` with the
// vertical frequencies 4 * half .. 4 * half + 3; the quantizer's tables are
// laid out the same way.
inline void ForwardDct(__m128* v) {
    Dct8(v, 2);
    Dct8(v + 1, 2);
    __m128 t[16];
    for (int r = 0; r < 8; r += 4)
        for (int h = 0; h < 2; ++h) {
            __m128 a = v[r * 2 + h], b = v[(r + 1) * 2 + h];
            __m128 c = v[(r + 2) * 2 + h], d = v[(r + 3) * 2 + h];
            _MM_TRANSPOSE4_PS(a, b, c, d);
            // Rows r..r+3 of columns 4h..4h+3 become rows 4h..4h+3 of columns r..r+3.
            t[(4 * h) * 2 + r / 4] = a;
            t[(4 * h + 1) * 2 + r / 4] = b;
            t[(4 * h + 2) * 2 + r / 4] = c;
            t[(4 * h + 3) * 2 + r / 4] = d;
        }
    Dct8(t, 2);
    Dct8(t + 1, 2);
    std::copy_n(t, 16, v);
}

// Zigzag position -> index in the transform's transposed output order, and
// per byte of a mask over that order, the same bits in zigzag positions.
struct ZigzagMap {
    std::uint8_t index[64];
    std::uint64_t bits[8][256];

    ZigzagMap();
};

// Transforms and quantizes the blocks of one component class (luma or chroma).
class Quantizer {
public:
    explicit Quantizer(const std::array<std::uint16_t, 64>& quant);

    // Transforms and quantizes a block of samples into `coefficients`
    // (transposed order); returns which are nonzero, as bits in zigzag order.
    std::uint64_t Transform(__m128* v, const ZigzagMap& zigzag, std::int16_t* coefficients) const {
        // Nearly flat blocks, common in screenshots (grey text has no colour),
        // have only a DC value: samples within 1/64 of each other leave every
        // AC value below a quarter, which rounds to 0 for any quantizer.
        __m128 low = v[0], high = v[0];
        for (int i = 1; i < 16; ++i) {
            low = _mm_min_ps(low, v[i]);
            high = _mm_max_ps(high, v[i]);
        }
        // Largest minus smallest over all lanes.
        high = _mm_max_ps(high, _mm_movehl_ps(high, high));
        low = _mm_min_ps(low, _mm_movehl_ps(low, low));
        high = _mm_max_ss(high, _mm_shuffle_ps(high, high, 1));
        low = _mm_min_ss(low, _mm_shuffle_ps(low, low, 1));
        if (_mm_cvtss_f32(_mm_sub_ss(high, low)) <= 1.0f / 64) {
            __m128 sum = v[0];
            for (int i = 1; i < 16; ++i)
                sum = _mm_add_ps(sum, v[i]);
            sum = _mm_add_ps(sum, _mm_movehl_ps(sum, sum));
            sum = _mm_add_ss(sum, _mm_shuffle_ps(sum, sum, 1));
            const int dc = _mm_cvtss_si32(_mm_mul_ss(sum, _mm_load_ss(divisors_)));
            coefficients[0] = static_cast<std::int16_t>(std::clamp(dc, -1023, 1023));
            return 1;
        }
        ForwardDct(v);
        return Apply(v, zigzag, coefficients);
    }

private:
    // Quantizes a transformed block in place of `coefficients` (transposed
    // order); returns which are nonzero, as bits in zigzag order.
    std::uint64_t Apply(const __m128* v, const ZigzagMap& zigzag,
                        std::int16_t* coefficients) const {
        // Baseline AC values have at most 10 bits; DC values kept to the same
        // range leave every DC difference within 11.
        const __m128i limit = _mm_set1_epi16(1023);
        const __m128i zero = _mm_setzero_si128();
        std::uint64_t nonzero = 0;
        for (int i = 0; i < 8; i += 2) {
            __m128i packed[2];
            for (int j = 0; j < 2; ++j) {
                const float* d = divisors_ + 8 * (i + j);
                const __m128i lo = _mm_cvtps_epi32(_mm_mul_ps(v[2 * (i + j)], _mm_load_ps(d)));
                const __m128i hi =
                    _mm_cvtps_epi32(_mm_mul_ps(v[2 * (i + j) + 1], _mm_load_ps(d + 4)));
                packed[j] = _mm_max_epi16(_mm_min_epi16(_mm_packs_epi32(lo, hi), limit),
                                          _mm_sub_epi16(zero, limit));
                _mm_store_si128(reinterpret_cast<__m128i*>(coefficients + 8 * (i + j)), packed[j]);
            }
            const int isZero = _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(packed[0], zero),
                                                                 _mm_cmpeq_epi16(packed[1], zero)));
            const unsigned mask = ~static_cast<unsigned>(isZero);
            nonzero |= zigzag.bits[i][mask & 0xFF] | zigzag.bits[i + 1][(mask >> 8) & 0xFF];
        }
        return nonzero;
    }

    // 1 / (quantizer * AAN scales * 8) in the transform's transposed output order.
    alignas(16) float divisors_[64];
};

} // namespace conv
