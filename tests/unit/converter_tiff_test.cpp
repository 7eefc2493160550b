#include "converter_test_support.h"
#include "tiff_encoder.h"

#include <gtest/gtest.h>

#include <map>

using namespace conv;
using conv::testing::ExpectSamePixels;

namespace {

std::uint32_t Le16(const std::vector<std::uint8_t>& f, std::size_t at) {
    return f[at] | (f[at + 1] << 8);
}
std::uint32_t Le32(const std::vector<std::uint8_t>& f, std::size_t at) {
    return Le16(f, at) | (Le16(f, at + 2) << 16);
}

// TIFF LZW as the format describes it: codes most significant bit first, the
// width grows when the next free code reaches 2^width - 1.
std::vector<std::uint8_t> DecodeTiffLzw(const std::uint8_t* data, std::size_t size) {
    std::vector<std::vector<std::uint8_t>> table;
    auto reset = [&] {
        table.assign(258, {});
        for (int i = 0; i < 256; ++i)
            table[i] = {static_cast<std::uint8_t>(i)};
    };
    reset();
    int width = 9;
    std::size_t bitPos = 0;
    int previous = -1;
    std::vector<std::uint8_t> out;
    bool clearedFirst = false;
    while (bitPos + width <= size * 8) {
        unsigned code = 0;
        for (int b = 0; b < width; ++b, ++bitPos)
            code = (code << 1) | ((data[bitPos / 8] >> (7 - bitPos % 8)) & 1u);
        if (!clearedFirst) {
            EXPECT_EQ(code, 256u) << "a strip starts with a clear code";
            clearedFirst = true;
        }
        if (code == 256) {
            reset();
            width = 9;
            previous = -1;
            continue;
        }
        if (code == 257)
            return out;
        std::vector<std::uint8_t> entry;
        if (code < table.size() && code != 256 && code != 257) {
            entry = table[code];
        } else {
            EXPECT_EQ(code, table.size());
            EXPECT_GE(previous, 0);
            if (code != table.size() || previous < 0)
                return out;
            entry = table[previous];
            entry.push_back(table[previous][0]);
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (previous >= 0) {
            std::vector<std::uint8_t> added = table[previous];
            added.push_back(entry[0]);
            table.push_back(added);
            EXPECT_LE(table.size(), 4096u);
            if (table.size() == (1u << width) - 1 && width < 12)
                ++width;
        }
        previous = static_cast<int>(code);
    }
    ADD_FAILURE() << "no end-of-information code";
    return out;
}

// Reads the first directory and the strips of an 8-bit RGB file.
Image DecodeTiff(const std::vector<std::uint8_t>& f) {
    EXPECT_EQ(f[0], 'I');
    EXPECT_EQ(Le16(f, 2), 42u);
    const std::uint32_t ifd = Le32(f, 4);
    EXPECT_EQ(ifd % 2, 0u);
    std::map<std::uint16_t, std::vector<std::uint32_t>> tags;
    const std::uint32_t count = Le16(f, ifd);
    std::uint16_t lastTag = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t e = ifd + 2 + 12 * i;
        const auto tag = static_cast<std::uint16_t>(Le16(f, e));
        EXPECT_GT(tag, lastTag) << "tags must be sorted";
        lastTag = tag;
        const std::uint32_t type = Le16(f, e + 2), n = Le32(f, e + 4);
        const std::size_t size = (type == 3 ? 2 : type == 5 ? 8 : 4) * n;
        const std::size_t at = size <= 4 ? e + 8 : Le32(f, e + 8);
        std::vector<std::uint32_t> values;
        for (std::uint32_t k = 0; k < (type == 5 ? 2 * n : n); ++k)
            values.push_back(type == 3 ? Le16(f, at + 2 * k) : Le32(f, at + 4 * k));
        tags[tag] = values;
    }
    EXPECT_EQ(tags[258], (std::vector<std::uint32_t>{8, 8, 8}));
    EXPECT_EQ(tags[262], std::vector<std::uint32_t>{2});
    EXPECT_EQ(tags[277], std::vector<std::uint32_t>{3});
    Image image;
    image.width = static_cast<int>(tags[256].at(0));
    image.height = static_cast<int>(tags[257].at(0));
    const std::size_t rowBytes = image.width * 3u;
    const bool lzw = tags[259].at(0) == 5;
    const bool predictor = tags.count(317) && tags[317].at(0) == 2;
    const auto& offsets = tags[273];
    const auto& counts = tags[279];
    EXPECT_EQ(offsets.size(), counts.size());
    for (std::size_t s = 0; s < offsets.size(); ++s) {
        std::vector<std::uint8_t> strip =
            lzw ? DecodeTiffLzw(&f[offsets[s]], counts[s])
                : std::vector<std::uint8_t>(f.begin() + offsets[s],
                                            f.begin() + offsets[s] + counts[s]);
        EXPECT_EQ(strip.size() % rowBytes, 0u);
        if (predictor)
            for (std::size_t r = 0; r < strip.size(); r += rowBytes)
                for (std::size_t i = 3; i < rowBytes; ++i)
                    strip[r + i] = static_cast<std::uint8_t>(strip[r + i] + strip[r + i - 3]);
        image.rgb.insert(image.rgb.end(), strip.begin(), strip.end());
    }
    return image;
}

} // namespace

TEST(TiffLzw, DecodesBackAcrossWidthChangesResetsAndEveryEnding) {
    std::mt19937 random(5);
    for (std::size_t length : {0, 1, 2, 100, 4000, 100000}) {
        std::vector<std::uint8_t> data(length);
        for (auto& v : data)
            v = static_cast<std::uint8_t>(random() % (length > 1000 ? 256 : 4));
        const auto lzw = TiffLzw(data.data(), data.size());
        ASSERT_EQ(DecodeTiffLzw(lzw.data(), lzw.size()), data) << length;
    }
    for (std::size_t length = 1; length <= 700; ++length) {
        std::vector<std::uint8_t> data(length);
        for (std::size_t i = 0; i < length; ++i)
            data[i] = static_cast<std::uint8_t>(i * 7 % 251);
        const auto lzw = TiffLzw(data.data(), data.size());
        ASSERT_EQ(DecodeTiffLzw(lzw.data(), lzw.size()), data) << length;
    }
}

TEST(TiffEncoder, KeepsEveryPixelCompressedOrNot) {
    for (TiffCompression c : {TiffCompression::Lzw, TiffCompression::None}) {
        // 1500 pixels wide: several rows per strip and a short last strip.
        const Image image = conv::testing::ScreenLikeImage(1500, 61);
        std::vector<std::uint8_t> tiff;
        std::string error;
        ASSERT_TRUE(EncodeTiff(image, {c, 2}, tiff, error)) << error;
        ExpectSamePixels(image, DecodeTiff(tiff));
    }
}

TEST(TiffEncoder, StoresNoiseUncompressedRatherThanGrowingIt) {
    const Image noise = conv::testing::FewColourImage(500, 40, 1 << 20);
    std::vector<std::uint8_t> tiff;
    std::string error;
    ASSERT_TRUE(EncodeTiff(noise, {TiffCompression::Lzw, 2}, tiff, error)) << error;
    EXPECT_LT(tiff.size(), noise.rgb.size() + 4096);
    ExpectSamePixels(noise, DecodeTiff(tiff));
}

TEST(TiffEncoder, IsReadByAnIndependentDecoder) {
    SKIP_WITHOUT_IMAGEMAGICK();
    for (TiffCompression c : {TiffCompression::Lzw, TiffCompression::None}) {
        const Image image = conv::testing::ScreenLikeImage(333, 77);
        std::vector<std::uint8_t> tiff;
        std::string error;
        ASSERT_TRUE(EncodeTiff(image, {c, 0}, tiff, error)) << error;
        const auto decoded = conv::testing::DecodeWithImageMagick(tiff, "tif");
        ASSERT_TRUE(decoded);
        ExpectSamePixels(image, *decoded);
    }
}
