#include "pictures.h"
#include "gif_encoder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace conv;
using namespace conv::testing;

namespace {

// The data sub-blocks joined; the closing empty block must end them.
Bytes Unblock(const Bytes& blocks) {
    Bytes data;
    std::size_t at = 0;
    for (; at < blocks.size() && blocks[at] != 0; at += 1 + blocks[at])
        data.insert(data.end(), blocks.begin() + at + 1, blocks.begin() + at + 1 + blocks[at]);
    EXPECT_EQ(at + 1, blocks.size()) << "data after the closing block";
    return data;
}

// The global palette's size, from the logical screen descriptor.
std::size_t PaletteSize(const Bytes& gif) {
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_TRUE(gif[10] & 0x80) << "global colour table";
    return std::size_t{2} << (gif[10] & 7);
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

// Whole files are read by ImageMagick (the Windows build's are decoded end to end).
TEST(GifEncoder, WritesFewColoursExactly) {
    SKIP_WITHOUT_IMAGEMAGICK();
    for (int colours : {1, 2, 3, 17, 200, 256}) {
        const Image image = FewColourImage(141, 89, colours);
        const Bytes gif = Encoded(EncodeGif, image, GifOptions{});
        EXPECT_LE(PaletteSize(gif), std::max<std::size_t>(2, 2 * colours)) << colours;
        const auto decoded = DecodeWithImageMagick(gif, "gif");
        ASSERT_TRUE(decoded);
        ExpectSamePixels(image, *decoded);
    }
}

TEST(GifEncoder, ReducesManyColoursCloselyWithAndWithoutDither) {
    SKIP_WITHOUT_IMAGEMAGICK();
    Image image{256, 256, {}}; // smooth gradients: about 65000 colours
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.rgb.insert(image.rgb.end(),
                             {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>((x + y) / 2)});
    for (bool dither : {false, true}) {
        const Bytes gif = Encoded(EncodeGif, image, GifOptions{dither});
        EXPECT_EQ(PaletteSize(gif), 256u);
        const auto decoded = DecodeWithImageMagick(gif, "gif");
        ASSERT_TRUE(decoded);
        ASSERT_EQ(decoded->rgb.size(), image.rgb.size());
        double error = 0;
        for (std::size_t i = 0; i < image.rgb.size(); ++i)
            error += std::abs(int(image.rgb[i]) - int(decoded->rgb[i]));
        EXPECT_LT(error / image.rgb.size(), dither ? 6.0 : 4.0) << dither;
        // Averaged over small areas, the colour stays what it was; dithering keeps it
        // closer. (At the gamut's corners no palette mix can reach it, so they are left out.)
        for (int y0 : {40, 100, 176})
            for (int x0 : {64, 128, 200})
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(AreaMean(image, x0, y0, 16, c), AreaMean(*decoded, x0, y0, 16, c),
                                dither ? 1.0 : 4.0)
                        << "at " << x0 << "," << y0 << " channel " << c << " dither " << dither;
    }
}
