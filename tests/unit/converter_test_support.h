// Pictures and an outside decoder shared by the converter's tests.
#pragma once

#include "image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace conv::testing {

// A picture with gradients, hard edges and a few flat areas, like a screenshot.
inline Image ScreenLikeImage(int w, int h, unsigned seed = 1) {
    Image image;
    image.width = w;
    image.height = h;
    image.rgb.resize(static_cast<std::size_t>(w) * h * 3);
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
                p[0] = static_cast<std::uint8_t>(random());
                p[1] = static_cast<std::uint8_t>(random());
                p[2] = static_cast<std::uint8_t>(random());
            }
        }
    return image;
}

// A picture drawn from `colours` distinct colours, placed at random.
inline Image FewColourImage(int w, int h, int colours, unsigned seed = 2) {
    Image image;
    image.width = w;
    image.height = h;
    image.rgb.resize(static_cast<std::size_t>(w) * h * 3);
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

inline std::filesystem::path ScratchDir() {
    auto dir =
        std::filesystem::temp_directory_path() /
        ("converter_tests_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    return dir;
}

// Decodes a file with ImageMagick into 8-bit RGB; empty when it could not.
// The tool is part of the native test setup, so its absence fails the test.
inline std::optional<Image> DecodeWithImageMagick(const std::vector<std::uint8_t>& file,
                                                  const std::string& extension) {
    const auto dir = ScratchDir();
    const auto input = dir / ("input." + extension);
    const auto output = dir / "pixels.rgb";
    const auto size = dir / "size.txt";
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    const std::string command = "convert '" + input.string() + "[0]' -depth 8 rgb:'" +
                                output.string() + "' 2>/dev/null && identify -format '%w %h' '" +
                                input.string() + "[0]' > '" + size.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "ImageMagick could not decode the ." << extension << " file";
        return std::nullopt;
    }
    Image image;
    std::ifstream(size) >> image.width >> image.height;
    std::ifstream in(output, std::ios::binary);
    image.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::filesystem::remove_all(dir);
    return image;
}

inline void ExpectSamePixels(const Image& expected, const Image& actual) {
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    ASSERT_EQ(expected.rgb.size(), actual.rgb.size());
    for (std::size_t i = 0; i < expected.rgb.size(); ++i) {
        if (expected.rgb[i] != actual.rgb[i]) {
            const std::size_t pixel = i / 3;
            FAIL() << "first difference at x=" << pixel % expected.width
                   << " y=" << pixel / expected.width << " channel " << i % 3 << ": expected "
                   << int(expected.rgb[i]) << ", got " << int(actual.rgb[i]);
        }
    }
}

} // namespace conv::testing

#ifdef _WIN32
// The Windows build of these tests runs under Wine, where ImageMagick is absent.
#define SKIP_WITHOUT_IMAGEMAGICK() GTEST_SKIP() << "ImageMagick is checked in the native run"
#else
#define SKIP_WITHOUT_IMAGEMAGICK() (void)0
#endif
