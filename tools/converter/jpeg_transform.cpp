#include "jpeg_transform.h"

namespace conv {

namespace {

constexpr std::uint8_t kLuminanceBase[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::uint8_t kChromaBase[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The AAN transform's output scale per frequency.
constexpr float kAan[8] = {1.0f, 1.387039845f, 1.306562965f, 1.175875602f,
                           1.0f, 0.785694958f, 0.541196100f, 0.275899379f};

} // namespace

ZigzagMap::ZigzagMap() : bits{} {
    std::uint8_t position[64];
    const auto& order = ZigzagOrder();
    for (int k = 0; k < 64; ++k) {
        index[k] = static_cast<std::uint8_t>((order[k] % 8) * 8 + order[k] / 8);
        position[index[k]] = static_cast<std::uint8_t>(k);
    }
    for (int byte = 0; byte < 8; ++byte)
        for (int value = 0; value < 256; ++value)
            for (int bit = 0; bit < 8; ++bit)
                if (value >> bit & 1)
                    bits[byte][value] |= std::uint64_t{1} << position[byte * 8 + bit];
}

Quantizer::Quantizer(const std::array<std::uint16_t, 64>& quant) {
    for (int m = 0; m < 64; ++m) {
        const int vertical = m % 8, horizontal = m / 8;
        divisors_[m] =
            1.0f / (quant[vertical * 8 + horizontal] * kAan[vertical] * kAan[horizontal] * 8.0f);
    }
}

const std::array<std::uint8_t, 64>& ZigzagOrder() {
    static const std::array<std::uint8_t, 64> order = [] {
        std::array<std::uint8_t, 64> o{};
        int r = 0, c = 0;
        for (int k = 0; k < 64; ++k) {
            o[k] = static_cast<std::uint8_t>(r * 8 + c);
            if ((r + c) % 2 == 0) { // moving up and to the right
                if (c == 7)
                    ++r;
                else if (r == 0)
                    ++c;
                else {
                    --r;
                    ++c;
                }
            } else {
                if (r == 7)
                    ++c;
                else if (c == 0)
                    ++r;
                else {
                    ++r;
                    --c;
                }
            }
        }
        return o;
    }();
    return order;
}

std::array<std::uint16_t, 64> QuantTable(bool chroma, int quality) {
    quality = std::clamp(quality, 1, 100);
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<std::uint16_t, 64> table{};
    const std::uint8_t* base = chroma ? kChromaBase : kLuminanceBase;
    for (int i = 0; i < 64; ++i)
        table[i] = static_cast<std::uint16_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
    return table;
}

} // namespace conv
