#include "bmp_reader.h"
#include "bmp_writer.h"
#include "converter_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace conv;
using conv::testing::ExpectSamePixels;

namespace {

// Builds a bitmap file by hand, field by field, so the reader is checked
// against the format rather than against our own writer.
struct BmpBuilder {
    std::uint32_t headerSize = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks;         // written after a 40-byte header, or inside V4/V5
    std::vector<std::uint32_t> palette;       // 0x00RRGGBB
    std::vector<std::uint8_t> pixels;         // rows exactly as stored
    std::optional<std::uint32_t> pixelOffset; // default: right after the palette

    std::vector<std::uint8_t> Build() const {
        std::vector<std::uint8_t> f(14 + headerSize, 0);
        auto put16 = [&](std::size_t at, std::uint32_t v) {
            f[at] = static_cast<std::uint8_t>(v);
            f[at + 1] = static_cast<std::uint8_t>(v >> 8);
        };
        auto put32 = [&](std::size_t at, std::uint32_t v) {
            put16(at, v & 0xFFFF);
            put16(at + 2, v >> 16);
        };
        f[0] = 'B';
        f[1] = 'M';
        put32(14, headerSize);
        put32(18, static_cast<std::uint32_t>(width));
        put32(22, static_cast<std::uint32_t>(height));
        put16(26, planes);
        put16(28, bitCount);
        put32(30, compression);
        put32(46, colorsUsed);
        if (headerSize >= 52) {
            for (std::size_t i = 0; i < masks.size() && i < 3; ++i)
                put32(54 + 4 * i, masks[i]);
        } else {
            for (std::uint32_t m : masks)
                for (int b = 0; b < 4; ++b)
                    f.push_back(static_cast<std::uint8_t>(m >> (8 * b)));
        }
        for (std::uint32_t c : palette) {
            f.push_back(static_cast<std::uint8_t>(c));
            f.push_back(static_cast<std::uint8_t>(c >> 8));
            f.push_back(static_cast<std::uint8_t>(c >> 16));
            f.push_back(0);
        }
        put32(10, pixelOffset.value_or(static_cast<std::uint32_t>(f.size())));
        f.insert(f.end(), pixels.begin(), pixels.end());
        put32(2, static_cast<std::uint32_t>(f.size()));
        return f;
    }
};

Image Pixels(int w, int h, std::initializer_list<std::uint32_t> colours) {
    Image image;
    image.width = w;
    image.height = h;
    for (std::uint32_t c : colours)
        image.rgb.insert(image.rgb.end(),
                         {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                          static_cast<std::uint8_t>(c)});
    return image;
}

Image Decode(const std::vector<std::uint8_t>& file) {
    Image image;
    std::string error;
    EXPECT_TRUE(DecodeBmp(file, image, error)) << error;
    return image;
}

std::string DecodeError(const std::vector<std::uint8_t>& file) {
    Image image;
    std::string error;
    EXPECT_FALSE(DecodeBmp(file, image, error));
    EXPECT_FALSE(error.empty());
    return error;
}

} // namespace

TEST(BmpWriter, WritesBottomUpRowsPaddedToFourBytes) {
    const Image image = Pixels(3, 2, {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112});
    const std::vector<std::uint8_t> f = EncodeBmp(image);
    ASSERT_EQ(f.size(), 54u + 2 * 12);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(f[2] | (f[3] << 8), static_cast<int>(f.size()));
    EXPECT_EQ(f[10], 54);
    EXPECT_EQ(f[28], 24);
    // The first stored row is the picture's bottom row, in B G R order, then one pad byte.
    const std::vector<std::uint8_t> bottom(f.begin() + 54, f.begin() + 66);
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11,
                                                 0x10, 0, 0, 0}));
}

TEST(BmpWriter, RefusesAPictureWhoseBufferDoesNotMatchItsSize) {
    Image image = Pixels(2, 2, {1, 2, 3});
    EXPECT_THROW(EncodeBmp(image), std::length_error);
    image = Image{};
    EXPECT_THROW(EncodeBmp(image), std::length_error);
}

TEST(BmpRoundTrip, KeepsEveryPixelForAllRowPaddings) {
    for (int w : {1, 2, 3, 4, 5, 17}) {
        const Image image = conv::testing::ScreenLikeImage(w, 7, static_cast<unsigned>(w));
        ExpectSamePixels(image, Decode(EncodeBmp(image)));
    }
}

TEST(BmpReader, ReadsTopDownThirtyTwoBitAndV5Headers) {
    for (std::uint32_t headerSize : {40u, 108u, 124u}) {
        BmpBuilder b;
        b.headerSize = headerSize;
        b.bitCount = 32;
        b.height = -2; // top-down
        b.pixels = {3, 2, 1, 0xFF, 6, 5, 4, 0xFF, 9, 8, 7, 0, 12, 11, 10, 0};
        ExpectSamePixels(Pixels(2, 2, {0x010203, 0x040506, 0x070809, 0x0A0B0C}), Decode(b.Build()));
    }
}

TEST(BmpReader, ReadsPalettedDepths) {
    BmpBuilder one;
    one.bitCount = 1;
    one.width = 10;
    one.height = 1;
    one.palette = {0x000000, 0xFFFFFF};
    one.pixels = {0b10100000, 0b01000000, 0, 0};
    const Image a = Decode(one.Build());
    ASSERT_EQ(a.width, 10);
    EXPECT_EQ(a.pixel(0, 0)[0], 255);
    EXPECT_EQ(a.pixel(1, 0)[0], 0);
    EXPECT_EQ(a.pixel(2, 0)[0], 255);
    EXPECT_EQ(a.pixel(9, 0)[0], 255);
    EXPECT_EQ(a.pixel(8, 0)[0], 0);

    BmpBuilder four;
    four.bitCount = 4;
    four.width = 3;
    four.height = 2; // bottom-up: the first stored row is the lower one
    four.colorsUsed = 3;
    four.palette = {0x112233, 0x445566, 0x778899};
    four.pixels = {0x01, 0x20, 0, 0, 0x22, 0x10, 0, 0};
    ExpectSamePixels(Pixels(3, 2, {0x778899, 0x778899, 0x445566, 0x112233, 0x445566, 0x778899}),
                     Decode(four.Build()));

    // An index past the palette reads as black instead of reading past it.
    BmpBuilder eight;
    eight.bitCount = 8;
    eight.width = 2;
    eight.height = 1;
    eight.colorsUsed = 1;
    eight.palette = {0xABCDEF};
    eight.pixels = {0, 200, 0, 0};
    ExpectSamePixels(Pixels(2, 1, {0xABCDEF, 0x000000}), Decode(eight.Build()));
}

TEST(BmpReader, ReadsBitFieldsAndSixteenBitPixels) {
    BmpBuilder rgb565;
    rgb565.bitCount = 16;
    rgb565.compression = 3;
    rgb565.width = 2;
    rgb565.height = 1;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.pixels = {0x00, 0xF8, 0xE0, 0x07}; // pure red, pure green
    ExpectSamePixels(Pixels(2, 1, {0xFF0000, 0x00FF00}), Decode(rgb565.Build()));

    BmpBuilder rgb555; // BI_RGB 16-bit is 5-5-5
    rgb555.bitCount = 16;
    rgb555.width = 1;
    rgb555.height = 1;
    rgb555.pixels = {0x1F, 0x00, 0, 0};
    ExpectSamePixels(Pixels(1, 1, {0x0000FF}), Decode(rgb555.Build()));

    BmpBuilder swapped; // 32-bit with red in the low byte, masks inside a V4 header
    swapped.headerSize = 108;
    swapped.bitCount = 32;
    swapped.compression = 3;
    swapped.width = 1;
    swapped.height = 1;
    swapped.masks = {0x0000FF, 0x00FF00, 0xFF0000};
    swapped.pixels = {0x11, 0x22, 0x33, 0};
    ExpectSamePixels(Pixels(1, 1, {0x112233}), Decode(swapped.Build()));
}

TEST(BmpReader, ReadsTheOldCoreHeaderWithItsThreeBytePalette) {
    // 14-byte file header, 12-byte core header (16-bit sizes), palette of RGBTRIPLEs.
    std::vector<std::uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0,
                                   0,   12,  0, 0, 0, 2, 0, 1, 0, 1, 0,  1, 0};
    f.insert(f.end(), {0x33, 0x22, 0x11, 0x66, 0x55, 0x44}); // two palette entries, B G R
    f.insert(f.end(), {0b01000000, 0, 0, 0});                // pixels 0 and 1
    ExpectSamePixels(Pixels(2, 1, {0x112233, 0x445566}), Decode(f));

    f[24] = 32; // a depth the core header never had
    DecodeError(f);
}

TEST(BmpReader, RejectsHostileHeadersWithoutAllocatingOrReading) {
    BmpBuilder huge;
    huge.width = 0x7FFFFFFF;
    huge.height = 0x7FFFFFFF;
    huge.pixels = {1, 2, 3, 4};
    DecodeError(huge.Build());

    BmpBuilder minHeight;
    minHeight.height = INT32_MIN;
    DecodeError(minHeight.Build());

    BmpBuilder negativeWidth;
    negativeWidth.width = -4;
    DecodeError(negativeWidth.Build());

    BmpBuilder truncated;
    truncated.width = 100;
    truncated.height = 100;
    truncated.pixels.assign(100 * 300 - 1, 0); // one byte short
    EXPECT_EQ(DecodeError(truncated.Build()), "bitmap pixel data is truncated");

    BmpBuilder offsetPastEnd;
    offsetPastEnd.pixels.assign(16, 0);
    offsetPastEnd.pixelOffset = 0xFFFFFFF0;
    DecodeError(offsetPastEnd.Build());

    BmpBuilder offsetIntoHeader;
    offsetIntoHeader.pixels.assign(16, 0);
    offsetIntoHeader.pixelOffset = 20;
    DecodeError(offsetIntoHeader.Build());

    BmpBuilder shortPalette;
    shortPalette.bitCount = 8;
    shortPalette.colorsUsed = 256;
    shortPalette.palette = {0, 0};
    shortPalette.pixels.assign(8, 0);
    EXPECT_EQ(DecodeError(shortPalette.Build()), "bitmap palette is truncated");

    BmpBuilder rle;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.pixels.assign(8, 0);
    DecodeError(rle.Build());

    BmpBuilder oddMask;
    oddMask.bitCount = 16;
    oddMask.compression = 3;
    oddMask.masks = {0xF00F, 0x0F00, 0x00F0};
    oddMask.pixels.assign(8, 0);
    DecodeError(oddMask.Build());

    BmpBuilder hugeHeader;
    hugeHeader.headerSize = 40;
    std::vector<std::uint8_t> f = hugeHeader.Build();
    f[14] = 0;
    f[15] = 0;
    f[16] = 0;
    f[17] = 0x80;
    DecodeError(f);

    DecodeError({});
    DecodeError({'B', 'M'});
    DecodeError({'P', 'K', 3, 4});
}

TEST(BmpReader, SurvivesEveryTruncationAndRandomCorruption) {
    const std::vector<std::uint8_t> good = EncodeBmp(conv::testing::ScreenLikeImage(9, 5));
    for (std::size_t n = 0; n < good.size(); ++n) {
        Image image;
        std::string error;
        EXPECT_FALSE(DecodeBmp(std::span(good.data(), n), image, error)) << "length " << n;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> f = good;
        for (int k = 0; k < 4; ++k)
            f[random() % 54] = static_cast<std::uint8_t>(random());
        Image image;
        std::string error;
        if (DecodeBmp(f, image, error)) {
            EXPECT_EQ(image.rgb.size(), static_cast<std::size_t>(image.width) * image.height * 3);
        }
    }
}
