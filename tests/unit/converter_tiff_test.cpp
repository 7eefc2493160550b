// TIFF files are checked by ImageMagick (libtiff); the Windows build's files are
// decoded end to end. The LZW coder is checked here against the format itself.
#include "pictures.h"
#include "tiff_encoder.h"

#include <gtest/gtest.h>

using namespace conv;
using namespace conv::testing;

TEST(TiffLzw, DecodesBackAcrossWidthChangesResetsAndEveryEnding) {
    std::mt19937 random(5);
    for (std::size_t length : {0, 1, 2, 100, 4000, 100000}) {
        Bytes data(length);
        for (auto& v : data)
            v = static_cast<std::uint8_t>(random() % (length > 1000 ? 256 : 4));
        ASSERT_EQ(DecodeLzw(TiffLzw(data.data(), data.size()), 8, true), data) << length;
    }
    for (std::size_t length = 1; length <= 700; ++length) {
        Bytes data(length);
        for (std::size_t i = 0; i < length; ++i)
            data[i] = static_cast<std::uint8_t>(i * 7 % 251);
        ASSERT_EQ(DecodeLzw(TiffLzw(data.data(), data.size()), 8, true), data) << length;
    }
}

TEST(TiffEncoder, KeepsEveryPixelCompressedOrNotAndStoresNoiseUncompressed) {
    SKIP_WITHOUT_IMAGEMAGICK();
    // 1500 pixels wide: several rows per strip and a short last strip.
    const Image screen = ScreenLikeImage(1500, 61), noise = FewColourImage(500, 40, 1 << 20);
    for (TiffCompression c : {TiffCompression::Lzw, TiffCompression::None}) {
        for (int threads : {0, 2}) {
            const auto decoded =
                DecodeWithImageMagick(Encoded(EncodeTiff, screen, TiffOptions{c, threads}), "tif");
            ASSERT_TRUE(decoded);
            ExpectSamePixels(screen, *decoded);
        }
    }
    // LZW would grow noise; such strips are stored as they are.
    const Bytes tiff = Encoded(EncodeTiff, noise, TiffOptions{TiffCompression::Lzw, 2});
    EXPECT_LT(tiff.size(), noise.rgb.size() + 4096);
    const auto decoded = DecodeWithImageMagick(tiff, "tif");
    ASSERT_TRUE(decoded);
    ExpectSamePixels(noise, *decoded);
}
