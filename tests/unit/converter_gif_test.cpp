#include "converter_test_support.h"
#include "gif_encoder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace conv;
using namespace conv::testing;

namespace {

// The data sub-blocks joined; *consumed counts the bytes up to the closing empty block.
Bytes Unblock(const Bytes& blocks, std::size_t* consumed = nullptr) {
    Bytes data;
    std::size_t at = 0;
    for (; at < blocks.size() && blocks[at] != 0; at += 1 + blocks[at])
        data.insert(data.end(), blocks.begin() + at + 1, blocks.begin() + at + 1 + blocks[at]);
    if (consumed)
        *consumed = at + 1;
    return data;
}

struct DecodedGif {
    Image image;
    std::size_t paletteSize = 0;
};

DecodedGif DecodeGif(const Bytes& gif) {
    DecodedGif result;
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    const int w = Le16(gif, 6), h = Le16(gif, 8);
    EXPECT_TRUE(gif[10] & 0x80) << "global colour table";
    result.paletteSize = std::size_t{2} << (gif[10] & 7);
    const std::size_t at = 13 + 3 * result.paletteSize;
    EXPECT_EQ(gif[at], 0x2C);
    EXPECT_EQ(Le16(gif, at + 5), static_cast<std::uint32_t>(w));
    EXPECT_EQ(Le16(gif, at + 7), static_cast<std::uint32_t>(h));
    std::size_t consumed = 0;
    const Bytes data = Unblock(Bytes(gif.begin() + at + 11, gif.end()), &consumed);
    const Bytes indices = DecodeLzw(data, gif[at + 10], false);
    EXPECT_EQ(at + 11 + consumed + 1, gif.size());
    EXPECT_EQ(gif.back(), 0x3B);
    EXPECT_EQ(indices.size(), static_cast<std::size_t>(w) * h);
    result.image = {w, h, {}};
    for (std::uint8_t i : indices) {
        EXPECT_LT(i, result.paletteSize);
        result.image.rgb.insert(result.image.rgb.end(), &gif[13 + 3 * i], &gif[16 + 3 * i]);
    }
    return result;
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

TEST(GifLzw, DecodesBackAcrossCodeWidthChangesTableResetsAndEveryEnding) {
    std::mt19937 random(3);
    for (int minCodeSize = 2; minCodeSize <= 8; ++minCodeSize) {
        // Lengths ending around the width steps, and long inputs with little
        // repetition to fill the table and force resets.
        for (std::size_t length : {0, 1, 2, 3, 5, 13, 300, 5000, 70000}) {
            Bytes indices(length);
            for (auto& v : indices)
                v = static_cast<std::uint8_t>(random() % (length > 1000 ? 1u << minCodeSize : 3));
            ASSERT_EQ(DecodeLzw(Unblock(GifLzwBlocks(indices, minCodeSize)), minCodeSize, false),
                      indices)
                << "min code size " << minCodeSize << ", length " << length;
        }
    }
    // Every length up to 600 over two symbols: one of them ends exactly where the
    // decoder widens its codes before reading the end code.
    for (std::size_t length = 1; length <= 600; ++length) {
        Bytes indices(length);
        for (std::size_t i = 0; i < length; ++i)
            indices[i] = static_cast<std::uint8_t>((i * i / 3) & 1);
        ASSERT_EQ(DecodeLzw(Unblock(GifLzwBlocks(indices, 2)), 2, false), indices) << length;
    }
}

TEST(GifEncoder, WritesFewColoursExactly) {
    for (int colours : {1, 2, 3, 17, 256}) {
        const Image image = FewColourImage(41, 29, colours);
        const DecodedGif decoded = DecodeGif(Encoded(EncodeGif, image, GifOptions{}));
        ExpectSamePixels(image, decoded.image);
        EXPECT_LE(decoded.paletteSize, std::max<std::size_t>(2, 2 * colours)) << colours;
    }
}

TEST(GifEncoder, ReducesManyColoursCloselyWithAndWithoutDither) {
    Image image{256, 256, {}}; // smooth gradients: about 65000 colours
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.rgb.insert(image.rgb.end(),
                             {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>((x + y) / 2)});
    for (bool dither : {false, true}) {
        const DecodedGif decoded = DecodeGif(Encoded(EncodeGif, image, GifOptions{dither}));
        EXPECT_EQ(decoded.paletteSize, 256u);
        double error = 0;
        for (std::size_t i = 0; i < image.rgb.size(); ++i)
            error += std::abs(int(image.rgb[i]) - int(decoded.image.rgb[i]));
        EXPECT_LT(error / image.rgb.size(), dither ? 6.0 : 4.0) << dither;
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
    for (const Image& image : {FewColourImage(300, 200, 200), ScreenLikeImage(300, 200)}) {
        const Bytes gif = Encoded(EncodeGif, image, GifOptions{});
        const auto decoded = DecodeWithImageMagick(gif, "gif");
        ASSERT_TRUE(decoded);
        ExpectSamePixels(DecodeGif(gif).image, *decoded);
    }
}
