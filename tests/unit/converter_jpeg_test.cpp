#include "pictures.h"
#include "jpeg_encoder.h"
#include "jpeg_huffman.h"
#include "jpeg_transform.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <numeric>
#include <random>
#include <set>

using namespace conv;
using namespace conv::testing;

namespace {

double Psnr(const Image& a, const Image& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        sum += std::pow(double(a.rgb[i]) - double(b.rgb[i]), 2);
    const double mse = sum / static_cast<double>(a.rgb.size());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

Image Smooth(int w, int h) {
    Image image{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.rgb.insert(image.rgb.end(),
                             {static_cast<std::uint8_t>(128 + 100 * std::sin(x / 9.0)),
                              static_cast<std::uint8_t>(128 + 100 * std::cos(y / 7.0)),
                              static_cast<std::uint8_t>((x * 2 + y) % 256)});
    return image;
}

} // namespace

TEST(JpegTables, HuffmanCodesAreValidPrefixCodesThatFavourFrequentSymbols) {
    std::array<std::uint32_t, 256> one{}, even{}, fibonacci{};
    one[0x11] = 5;
    even.fill(1000);
    // Counts growing like this make a tree 40 deep: it must be cut to 16 bits.
    fibonacci[0] = fibonacci[1] = 1;
    for (int s = 2; s < 40; ++s)
        fibonacci[s] = fibonacci[s - 1] + fibonacci[s - 2];
    for (const auto& counts : {one, even, fibonacci}) {
        const HuffmanSpec spec = OptimalHuffman(counts);
        ASSERT_EQ(std::accumulate(spec.counts.begin(), spec.counts.end(), 0u), spec.symbols.size());
        std::set<int> used;
        for (int s = 0; s < 256; ++s)
            if (counts[s])
                used.insert(s);
        EXPECT_EQ(std::set<int>(spec.symbols.begin(), spec.symbols.end()), used);
        // A prefix code without an all-ones code: Kraft sum below one.
        double kraft = 0;
        std::array<int, 256> length{};
        for (int len = 1, k = 0; len <= 16; ++len)
            for (int i = 0; i < spec.counts[len - 1]; ++i, ++k) {
                kraft += std::pow(2.0, -len);
                length[spec.symbols[k]] = len;
            }
        EXPECT_LT(kraft, 1.0);
        for (int a : used)
            for (int b : used)
                EXPECT_TRUE(counts[a] <= counts[b] || length[a] <= length[b]) << a << " " << b;
    }
}

TEST(JpegTables, QualityScalesLikeLibjpeg) {
    EXPECT_EQ(QuantTable(false, 50)[0], 16);
    EXPECT_EQ(QuantTable(false, 50)[63], 99);
    EXPECT_EQ(QuantTable(false, 90)[0], 3);  // 16 * 20% rounded
    EXPECT_EQ(QuantTable(true, 90)[63], 20); // 99 * 20% rounded
    EXPECT_EQ(QuantTable(false, 100)[10], 1);
    EXPECT_EQ(QuantTable(false, 1)[63], 255);
}

TEST(JpegEncoder, DecodesToTheRightSizeWithSmallError) {
    SKIP_WITHOUT_IMAGEMAGICK();
    // Sizes that are not whole blocks or whole 16x16 units exercise the edge padding.
    for (bool subsample : {true, false}) {
        for (auto [w, h] : {std::pair{1, 1}, {17, 9}, {64, 48}, {301, 157}}) {
            const Image image = Smooth(w, h);
            const Bytes jpeg = Encoded(EncodeJpeg, image, JpegOptions{90, subsample, 2});
            // Coded in parallel bands, the file is the one a single thread writes.
            EXPECT_EQ(Encoded(EncodeJpeg, image, JpegOptions{90, subsample, 1}), jpeg);
            const auto decoded = DecodeWithImageMagick(jpeg, "jpg");
            ASSERT_TRUE(decoded);
            ASSERT_EQ(decoded->width, w);
            ASSERT_EQ(decoded->height, h);
            // Chroma subsampling costs a few dB on this picture's sharp blue edges.
            EXPECT_GT(Psnr(image, *decoded), subsample ? 31.0 : 40.0)
                << w << "x" << h << " subsample " << subsample;
        }
    }
}

// At 4:2:0 a thin picture's MCUs reach past it by whole blocks; those are cut
// off by every decoder, so coding them costs bytes for nothing. Coded flat they
// cost far less than the picture grown by repeating its edge row over them.
TEST(JpegEncoder, BlocksWhollyOutsideAThinPictureCostAlmostNothing) {
    for (auto [w, h] : {std::pair{512, 8}, {8, 512}}) {
        Image thin{w, h, Bytes(static_cast<std::size_t>(w) * h * 3)};
        std::mt19937 random(1);
        for (std::size_t i = 0; i < thin.rgb.size(); i += 3) // grey detail: luma only
            thin.rgb[i] = thin.rgb[i + 1] = thin.rgb[i + 2] = static_cast<std::uint8_t>(random());
        Image grown{(w + 15) / 16 * 16, (h + 15) / 16 * 16, {}};
        for (int y = 0; y < grown.height; ++y)
            for (int x = 0; x < grown.width; ++x) {
                const std::uint8_t* p = thin.pixel(std::min(x, w - 1), std::min(y, h - 1));
                grown.rgb.insert(grown.rgb.end(), p, p + 3);
            }
        const JpegOptions options{90, true, 1};
        EXPECT_LT(Encoded(EncodeJpeg, thin, options).size() * 10,
                  Encoded(EncodeJpeg, grown, options).size() * 9)
            << w << "x" << h;
    }
}

// The frame header has room for 65,535, but libjpeg and the decoders built on it
// give up past 65,500 pixels a side: such a file would be written for nothing.
TEST(JpegEncoder, RefusesSidesThatLibjpegDecodersRefuse) {
    for (const auto& [w, h, encodes] :
         {std::tuple{65500, 1, true}, {1, 65500, true}, {65501, 1, false}, {1, 65501, false}}) {
        Bytes out;
        std::string error;
        const Image image{w, h, Bytes(static_cast<std::size_t>(w) * h * 3, 128)};
        EXPECT_EQ(EncodeJpeg(image, JpegOptions{90, true, 1}, out, error), encodes)
            << w << "x" << h << " " << error;
    }
}
