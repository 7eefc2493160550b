// Test pictures, byte readers and outside decoders for the picture formats' tests.
#pragma once

#include "image.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace conv::testing {

using ::qorvic::testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t Be16(const Bytes& d, std::size_t at) {
    return (std::uint32_t{d.at(at)} << 8) | d.at(at + 1);
}
inline std::uint32_t Be32(const Bytes& d, std::size_t at) {
    return (Be16(d, at) << 16) | Be16(d, at + 2);
}

// A picture with gradients, hard edges and a few flat areas, like a screenshot.
inline Image ScreenLikeImage(int w, int h, unsigned seed = 1) {
    Image image{w, h, Bytes(static_cast<std::size_t>(w) * h * 3)};
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = image.pixel(x, y);
            if (y < h / 3) {
                p[0] = static_cast<std::uint8_t>(x * 255 / std::max(1, w - 1));
                p[1] = static_cast<std::uint8_t>(y * 255 / std::max(1, h - 1));
                p[2] = static_cast<std::uint8_t>((x + y) & 0xFF);
            } else if (y < 2 * h / 3) {
                const bool dark = ((x / 7) + (y / 5)) % 3 == 0;
                p[0] = dark ? 20 : 240;
                p[1] = dark ? 30 : 240;
                p[2] = dark ? 90 : 235;
            } else {
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<std::uint8_t>(random());
            }
        }
    return image;
}

// A picture drawn from `colours` distinct colours, placed at random.
inline Image FewColourImage(int w, int h, int colours, unsigned seed = 2) {
    Image image{w, h, Bytes(static_cast<std::size_t>(w) * h * 3)};
    std::mt19937 random(seed);
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(static_cast<std::uint32_t>(random()) & 0xFFFFFF);
    for (std::size_t i = 0; i < image.rgb.size(); i += 3) {
        const std::uint32_t c = palette[random() % palette.size()];
        image.rgb[i] = static_cast<std::uint8_t>(c >> 16);
        image.rgb[i + 1] = static_cast<std::uint8_t>(c >> 8);
        image.rgb[i + 2] = static_cast<std::uint8_t>(c);
    }
    return image;
}

// Runs an encoder of the form Encode(image, options, out, error); a refusal fails the test.
template <class Encoder, class Options>
Bytes Encoded(Encoder encode, const Image& image, const Options& options) {
    Bytes out;
    std::string error;
    EXPECT_TRUE(encode(image, options, out, error)) << error;
    return out;
}

// LZW written from the formats' descriptions, sharing nothing with the encoders.
// GIF packs codes least significant bit first and widens them when the next free
// code reaches 2^width; TIFF packs them most significant bit first, widens one code
// earlier and starts every strip with a clear code. Ends at the end code.
inline Bytes DecodeLzw(const Bytes& data, int minCodeSize, bool tiff) {
    const unsigned clear = 1u << minCodeSize, end = clear + 1;
    std::vector<Bytes> table;
    int width = 0, previous = -1;
    auto reset = [&] {
        table.assign(end + 1, {});
        for (unsigned i = 0; i < clear; ++i)
            table[i] = {static_cast<std::uint8_t>(i)};
        width = minCodeSize + 1;
        previous = -1;
    };
    reset();
    Bytes out;
    for (std::size_t bit = 0; bit + width <= data.size() * 8;) {
        unsigned code = 0;
        for (int b = 0; b < width; ++b, ++bit) {
            const unsigned v = (data[bit / 8] >> (tiff ? 7 - bit % 8 : bit % 8)) & 1u;
            code = tiff ? (code << 1) | v : code | (v << b);
        }
        if (tiff && bit == static_cast<std::size_t>(width)) {
            EXPECT_EQ(code, clear) << "a strip starts with a clear code";
        }
        if (code == clear) {
            reset();
            continue;
        }
        if (code == end)
            return out;
        Bytes entry;
        if (code < table.size()) {
            entry = table[code];
        } else if (code == table.size() && previous >= 0) {
            entry = table[previous];
            entry.push_back(entry[0]);
        } else {
            ADD_FAILURE() << "code " << code << " beyond the table of " << table.size();
            return out;
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (previous >= 0 && table.size() < 4096) {
            table.push_back(table[previous]);
            table.back().push_back(entry[0]);
            if (table.size() + (tiff ? 1 : 0) == (1u << width) && width < 12)
                ++width;
        } else if (previous >= 0 && tiff) {
            ADD_FAILURE() << "a full table needs a clear code";
        }
        previous = static_cast<int>(code);
    }
    ADD_FAILURE() << "no end code";
    return out;
}

// Decodes a file with ImageMagick into 8-bit RGB; empty when it could not.
// The tool is part of the native test setup, so its absence fails the test.
inline std::optional<Image> DecodeWithImageMagick(const Bytes& file, const std::string& extension) {
    const TempDir dir;
    const std::string input = dir.Write("input." + extension, file).string() + "[0]";
    const auto output = dir.path() / "pixels.rgb", size = dir.path() / "size.txt";
    const std::string command = "convert '" + input + "' -depth 8 rgb:'" + output.string() +
                                "' 2>/dev/null && identify -format '%w %h' '" + input + "' > '" +
                                size.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "ImageMagick could not decode the ." << extension << " file";
        return std::nullopt;
    }
    Image image;
    std::ifstream(size) >> image.width >> image.height;
    std::ifstream in(output, std::ios::binary);
    image.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return image;
}

inline void ExpectSamePixels(const Image& expected, const Image& actual) {
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    ASSERT_EQ(expected.rgb.size(), actual.rgb.size());
    const auto diff = std::mismatch(expected.rgb.begin(), expected.rgb.end(), actual.rgb.begin());
    if (diff.first != expected.rgb.end()) {
        const std::size_t i = diff.first - expected.rgb.begin(), pixel = i / 3;
        FAIL() << "first difference at x=" << pixel % expected.width
               << " y=" << pixel / expected.width << " channel " << i % 3 << ": expected "
               << int(*diff.first) << ", got " << int(*diff.second);
    }
}

} // namespace conv::testing

#ifdef _WIN32
// The Windows build of these tests runs under Wine, where ImageMagick is absent.
#define SKIP_WITHOUT_IMAGEMAGICK() GTEST_SKIP() << "ImageMagick is checked in the native run"
#else
#define SKIP_WITHOUT_IMAGEMAGICK() (void)0
#endif
