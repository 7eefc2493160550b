#include "bmp_writer.h"
#include "pictures.h"
#include "dib.h"

#include <gtest/gtest.h>

using namespace conv;
using namespace conv::testing;

TEST(Dib, ThirtyTwoBitTopDownRoundTripsAndReadsLikeAFile) {
    const Image image = ScreenLikeImage(13, 6);
    Image back;
    std::string error;
    ASSERT_TRUE(DecodeDib(EncodeDib32(image), back, error)) << error;
    ExpectSamePixels(image, back);
    // The clipboard's form of a bitmap file: the same bytes without the file header.
    const Bytes file = EncodeBmp(image);
    ASSERT_TRUE(DecodeDib(Bytes(file.begin() + 14, file.end()), back, error)) << error;
    ExpectSamePixels(image, back);
}

TEST(Dib, FindsPixelsAfterMasksAndPalettes) {
    Bytes header(40, 0);
    auto put = [&](std::size_t at, std::uint32_t x) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
    };
    put(0, 40);
    header[14] = 32;
    put(16, 3); // bit fields: three masks after the header
    header.resize(40 + 12 + 16);
    EXPECT_EQ(DibPixelOffset(header), 52u);

    header[14] = 8;
    put(16, 0);
    put(32, 0); // all 256 palette entries
    header.resize(40 + 1024 + 4);
    EXPECT_EQ(DibPixelOffset(header), 40u + 1024);
    put(32, 2);
    EXPECT_EQ(DibPixelOffset(header), 48u);

    header.resize(40 + 4); // a palette the data does not hold
    put(32, 0);
    EXPECT_EQ(DibPixelOffset(header), 0u);
    Image image;
    std::string error;
    EXPECT_FALSE(DecodeDib(header, image, error));
    EXPECT_FALSE(DecodeDib({}, image, error));
}
