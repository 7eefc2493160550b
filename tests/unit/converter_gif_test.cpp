#include "converter_test_support.h"
#include "gif_encoder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace conv;
using conv::testing::ExpectSamePixels;

namespace {

// A GIF LZW decoder written from the format's description: the code width
// grows when the next free code reaches 2^width, the clear code restarts.
std::vector<std::uint8_t> DecodeLzw(const std::vector<std::uint8_t>& blocks, int minCodeSize,
                                    std::size_t* consumed = nullptr) {
    std::vector<std::uint8_t> data;
    std::size_t at = 0;
    while (at < blocks.size() && blocks[at] != 0) {
        const std::size_t n = blocks[at];
        data.insert(data.end(), blocks.begin() + at + 1, blocks.begin() + at + 1 + n);
        at += 1 + n;
    }
    if (consumed)
        *consumed = at + 1;

    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    std::vector<std::vector<std::uint8_t>> table;
    auto reset = [&] {
        table.assign(clear + 2, {});
        for (unsigned i = 0; i < clear; ++i)
            table[i] = {static_cast<std::uint8_t>(i)};
    };
    reset();
    int width = minCodeSize + 1;
    std::size_t bitPos = 0;
    std::vector<std::uint8_t> out;
    int previous = -1;
    while (bitPos + width <= data.size() * 8) {
        unsigned code = 0;
        for (int b = 0; b < width; ++b, ++bitPos)
            code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1u) << b;
        if (code == clear) {
            reset();
            width = minCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == end)
            return out;
        std::vector<std::uint8_t> entry;
        if (code < table.size() && !table[code].empty() && code != end && code != clear) {
            entry = table[code];
        } else {
            EXPECT_EQ(code, table.size()) << "code beyond the table";
            EXPECT_GE(previous, 0);
            if (code != table.size() || previous < 0)
                return out;
            entry = table[previous];
            entry.push_back(table[previous][0]);
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (previous >= 0 && table.size() < 4096) {
            std::vector<std::uint8_t> added = table[previous];
            added.push_back(entry[0]);
            table.push_back(added);
            if (table.size() == (1u << width) && width < 12)
                ++width;
        }
        previous = static_cast<int>(code);
    }
    ADD_FAILURE() << "no end code";
    return out;
}

struct DecodedGif {
    Image image;
    std::size_t paletteSize = 0;
};

DecodedGif DecodeGif(const std::vector<std::uint8_t>& gif) {
    DecodedGif result;
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    const int w = gif[6] | (gif[7] << 8), h = gif[8] | (gif[9] << 8);
    EXPECT_TRUE(gif[10] & 0x80) << "global colour table";
    result.paletteSize = std::size_t{2} << (gif[10] & 7);
    const std::uint8_t* palette = &gif[13];
    std::size_t at = 13 + 3 * result.paletteSize;
    EXPECT_EQ(gif[at], 0x2C);
    EXPECT_EQ(gif[at + 5] | (gif[at + 6] << 8), w);
    EXPECT_EQ(gif[at + 7] | (gif[at + 8] << 8), h);
    const int minCodeSize = gif[at + 10];
    std::size_t consumed = 0;
    const std::vector<std::uint8_t> blocks(gif.begin() + at + 11, gif.end());
    const std::vector<std::uint8_t> indices = DecodeLzw(blocks, minCodeSize, &consumed);
    EXPECT_EQ(at + 11 + consumed + 1, gif.size());
    EXPECT_EQ(gif.back(), 0x3B);
    EXPECT_EQ(indices.size(), static_cast<std::size_t>(w) * h);
    result.image.width = w;
    result.image.height = h;
    for (std::uint8_t i : indices) {
        EXPECT_LT(i, result.paletteSize);
        result.image.rgb.insert(result.image.rgb.end(), palette + 3 * i, palette + 3 * i + 3);
    }
    return result;
}

double MeanAbsoluteError(const Image& a, const Image& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        sum += std::abs(int(a.rgb[i]) - int(b.rgb[i]));
    return sum / static_cast<double>(a.rgb.size());
}

// Average of a channel over a square, to compare what the eye sees after dithering.
double AreaMean(const Image& image, int x0, int y0, int size, int channel) {
    double sum = 0;
    for (int y = y0; y < y0 + size; ++y)
        for (int x = x0; x < x0 + size; ++x)
            sum += image.pixel(x, y)[channel];
    return sum / (size * size);
}

} // namespace

TEST(GifLzw, DecodesBackAcrossCodeWidthChangesAndTableResets) {
    std::mt19937 random(3);
    for (int minCodeSize = 2; minCodeSize <= 8; ++minCodeSize) {
        // Lengths chosen to end just around the width steps, and long inputs with
        // little repetition to fill the table and force resets.
        for (std::size_t length : {0, 1, 2, 3, 5, 13, 300, 5000, 70000}) {
            std::vector<std::uint8_t> indices(length);
            const unsigned symbols = 1u << minCodeSize;
            for (auto& v : indices)
                v = static_cast<std::uint8_t>(random() % (length > 1000 ? symbols : 3));
            const auto decoded = DecodeLzw(GifLzwBlocks(indices, minCodeSize), minCodeSize);
            ASSERT_EQ(decoded, indices) << "min code size " << minCodeSize << ", length " << length;
        }
    }
}

TEST(GifLzw, EndCodeWidthMatchesAtEveryStoppingPoint) {
    // Every input length from 1 to 600 over two symbols: one of them ends exactly
    // where the decoder widens its codes before reading the end code.
    for (std::size_t length = 1; length <= 600; ++length) {
        std::vector<std::uint8_t> indices(length);
        for (std::size_t i = 0; i < length; ++i)
            indices[i] = static_cast<std::uint8_t>((i * i / 3) & 1);
        ASSERT_EQ(DecodeLzw(GifLzwBlocks(indices, 2), 2), indices) << "length " << length;
    }
}

TEST(GifEncoder, WritesFewColoursExactly) {
    for (int colours : {1, 2, 3, 17, 256}) {
        const Image image = conv::testing::FewColourImage(41, 29, colours);
        std::vector<std::uint8_t> gif;
        std::string error;
        ASSERT_TRUE(EncodeGif(image, {}, gif, error)) << error;
        const DecodedGif decoded = DecodeGif(gif);
        ExpectSamePixels(image, decoded.image);
        EXPECT_LE(decoded.paletteSize, std::max<std::size_t>(2, 2 * colours)) << colours;
    }
}

TEST(GifEncoder, ReducesManyColoursCloselyWithAndWithoutDither) {
    // Smooth gradients: about 65000 colours.
    Image image;
    image.width = 256;
    image.height = 256;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.rgb.insert(image.rgb.end(),
                             {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>((x + y) / 2)});
    for (bool dither : {false, true}) {
        std::vector<std::uint8_t> gif;
        std::string error;
        ASSERT_TRUE(EncodeGif(image, {dither}, gif, error)) << error;
        const DecodedGif decoded = DecodeGif(gif);
        EXPECT_EQ(decoded.paletteSize, 256u);
        EXPECT_LT(MeanAbsoluteError(image, decoded.image), dither ? 6.0 : 4.0) << dither;
        // Averaged over small areas, the colour stays what it was; dithering keeps it
        // closer. (At the gamut's corners no palette mix can reach it, so they are left out.)
        for (int y0 : {40, 100, 176})
            for (int x0 : {64, 128, 200})
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(AreaMean(image, x0, y0, 16, c),
                                AreaMean(decoded.image, x0, y0, 16, c), dither ? 1.0 : 4.0)
                        << "at " << x0 << "," << y0 << " channel " << c << " dither " << dither;
    }
}

TEST(GifEncoder, IsReadByAnIndependentDecoder) {
    SKIP_WITHOUT_IMAGEMAGICK();
    for (const Image& image :
         {conv::testing::FewColourImage(300, 200, 200), conv::testing::ScreenLikeImage(300, 200)}) {
        std::vector<std::uint8_t> gif;
        std::string error;
        ASSERT_TRUE(EncodeGif(image, {}, gif, error)) << error;
        const auto decoded = conv::testing::DecodeWithImageMagick(gif, "gif");
        ASSERT_TRUE(decoded);
        ExpectSamePixels(DecodeGif(gif).image, *decoded);
    }
}
