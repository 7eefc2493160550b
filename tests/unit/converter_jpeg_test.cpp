#include "pictures.h"
#include "jpeg_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <numeric>
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

TEST(JpegTables, HuffmanTablesAreCompleteAndConsistent) {
    for (bool chroma : {false, true}) {
        const HuffmanSpec& dc = StandardHuffman(false, chroma);
        const HuffmanSpec& ac = StandardHuffman(true, chroma);
        EXPECT_EQ(std::accumulate(dc.counts.begin(), dc.counts.end(), 0u), dc.symbols.size());
        EXPECT_EQ(std::set<std::uint8_t>(dc.symbols.begin(), dc.symbols.end()).size(), 12u);
        ASSERT_EQ(std::accumulate(ac.counts.begin(), ac.counts.end(), 0u), ac.symbols.size());
        // Every run 0..15 with every size 1..10, plus end-of-block and the 16-zero run.
        std::set<int> expected = {0x00, 0xF0};
        for (int run = 0; run < 16; ++run)
            for (int size = 1; size <= 10; ++size)
                expected.insert((run << 4) | size);
        EXPECT_EQ(std::set<int>(ac.symbols.begin(), ac.symbols.end()), expected) << chroma;
        // A prefix code: Kraft sum below one (no all-ones code of any length).
        double kraft = 0;
        for (int len = 1; len <= 16; ++len)
            kraft += ac.counts[len - 1] / std::pow(2.0, len);
        EXPECT_LT(kraft, 1.0);
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
            EXPECT_EQ(Be16(jpeg, 0), 0xFFD8u);
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

// The frame header has room for 65,535, but libjpeg and the decoders built on it
// give up past 65,500 pixels a side: such a file would be written for nothing.
TEST(JpegEncoder, RefusesSidesThatLibjpegDecodersRefuseAndStatesTheSizeItWrites) {
    for (const auto& [w, h, encodes] :
         {std::tuple{65500, 1, true}, {1, 65500, true}, {65501, 1, false}, {1, 65501, false}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Bytes out;
        std::string error;
        const Image image{w, h, Bytes(static_cast<std::size_t>(w) * h * 3, 128)};
        ASSERT_EQ(EncodeJpeg(image, JpegOptions{90, true, 1}, out, error), encodes) << error;
        if (!encodes)
            continue;
        // The baseline frame header carries the size the decoder will be told.
        const Bytes sof = {0xFF, 0xC0};
        const std::size_t frame =
            std::search(out.begin(), out.end(), sof.begin(), sof.end()) - out.begin();
        ASSERT_LT(frame, out.size());
        EXPECT_EQ(Be16(out, frame + 5), static_cast<std::uint32_t>(h));
        EXPECT_EQ(Be16(out, frame + 7), static_cast<std::uint32_t>(w));
    }
}
