#include "converter_test_support.h"
#include "png_encoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

using namespace conv;
using conv::testing::ExpectSamePixels;

namespace {

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

// A small PNG reader for 8-bit RGB: checks every chunk's CRC, inflates the
// IDAT stream (which also checks its Adler-32) and undoes the row filters.
Image DecodePng(const std::vector<std::uint8_t>& png) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(std::memcmp(png.data(), kSignature, 8), 0);
    Image image;
    std::vector<std::uint8_t> idat;
    bool ended = false;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = Be32(&png[at]);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const uLong crc = crc32(0, &png[at + 4], length + 4);
        EXPECT_EQ(crc, Be32(&png[at + 8 + length])) << "CRC of " << type;
        if (type == "IHDR") {
            image.width = static_cast<int>(Be32(&png[at + 8]));
            image.height = static_cast<int>(Be32(&png[at + 12]));
            EXPECT_EQ(png[at + 16], 8);
            EXPECT_EQ(png[at + 17], 2);
        } else if (type == "IDAT") {
            idat.insert(idat.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        } else if (type == "IEND") {
            ended = true;
            EXPECT_EQ(at + 12, png.size()) << "bytes after IEND";
        }
        at += 12 + length;
    }
    EXPECT_TRUE(ended);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    std::vector<std::uint8_t> raw((rowBytes + 1) * image.height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawSize, idat.data(), static_cast<uLong>(idat.size())), Z_OK);
    EXPECT_EQ(rawSize, raw.size());

    image.rgb.resize(rowBytes * image.height);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t filter = raw[y * (rowBytes + 1)];
        const std::uint8_t* in = &raw[y * (rowBytes + 1) + 1];
        std::uint8_t* row = image.pixel(0, y);
        const std::uint8_t* prev = y > 0 ? image.pixel(0, y - 1) : nullptr;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 3 ? row[i - 3] : 0;
            const int b = prev ? prev[i] : 0;
            const int c = prev && i >= 3 ? prev[i - 3] : 0;
            int predicted = 0;
            if (filter == 1)
                predicted = a;
            else if (filter == 2)
                predicted = b;
            else if (filter == 3)
                predicted = (a + b) / 2;
            else if (filter == 4) {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b),
                          pc = std::abs(p - c);
                predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
            } else
                EXPECT_EQ(filter, 0);
            row[i] = static_cast<std::uint8_t>(in[i] + predicted);
        }
    }
    return image;
}

} // namespace

TEST(PngEncoder, KeepsEveryPixelAtEveryLevel) {
    for (int level : {0, 1, 6, 9}) {
        const Image image = conv::testing::ScreenLikeImage(37, 23, static_cast<unsigned>(level));
        std::vector<std::uint8_t> png;
        std::string error;
        ASSERT_TRUE(EncodePng(image, {level, 1}, png, error)) << error;
        ExpectSamePixels(image, DecodePng(png));
    }
}

TEST(PngEncoder, SplitsLargePicturesIntoBandsThatJoinIntoOneStream) {
    // Wide rows force many bands; the result must not depend on the thread count.
    const Image image = conv::testing::ScreenLikeImage(2500, 300);
    std::vector<std::uint8_t> single, several;
    std::string error;
    ASSERT_TRUE(EncodePng(image, {6, 1}, single, error)) << error;
    ASSERT_TRUE(EncodePng(image, {6, 3}, several, error)) << error;
    EXPECT_EQ(single, several);
    ExpectSamePixels(image, DecodePng(several));
}

TEST(PngEncoder, IsReadByAnIndependentDecoder) {
    SKIP_WITHOUT_IMAGEMAGICK();
    const Image image = conv::testing::ScreenLikeImage(1000, 90);
    std::vector<std::uint8_t> png;
    std::string error;
    ASSERT_TRUE(EncodePng(image, {}, png, error)) << error;
    const auto decoded = conv::testing::DecodeWithImageMagick(png, "png");
    ASSERT_TRUE(decoded);
    ExpectSamePixels(image, *decoded);
}

TEST(PngEncoder, RefusesEmptyOrInconsistentPictures) {
    std::vector<std::uint8_t> png;
    std::string error;
    EXPECT_FALSE(EncodePng(Image{}, {}, png, error));
    Image broken;
    broken.width = 4;
    broken.height = 4;
    broken.rgb.resize(10);
    EXPECT_FALSE(EncodePng(broken, {}, png, error));
    EXPECT_FALSE(error.empty());
}
