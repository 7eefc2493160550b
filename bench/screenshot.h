// Synthetic screenshots for the benchmarks: what a busy desktop looks like to
// the encoders (flat areas, sharp glyph edges, gradients, grainy photographs).
#pragma once

#include "image.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace bench {

using conv::Image;

inline void Fill(Image& image, int x0, int y0, int w, int h, std::uint32_t rgb) {
    for (int y = std::max(0, y0); y < std::min(image.height, y0 + h); ++y) {
        for (int x = std::max(0, x0); x < std::min(image.width, x0 + w); ++x) {
            std::uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<std::uint8_t>(rgb >> 16);
            p[1] = static_cast<std::uint8_t>(rgb >> 8);
            p[2] = static_cast<std::uint8_t>(rgb);
        }
    }
}

// A desktop: gradient background, overlapping windows with title bars, lines of
// small glyphs, buttons, and a photograph-like panel in some windows.
inline Image MakeScreenshot(int width, int height, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Image image;
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<std::uint8_t>(20 + 60 * y / height);
            p[1] = static_cast<std::uint8_t>(60 + 80 * x / width);
            p[2] = static_cast<std::uint8_t>(120 + 100 * y / height);
        }
    }
    const int scale = std::max(1, width / 1920);
    const int windows = 6 * scale * scale;
    for (int w = 0; w < windows; ++w) {
        const int ww = std::uniform_int_distribution<int>(300, 1000)(rng) * scale / 1;
        const int wh = std::uniform_int_distribution<int>(200, 700)(rng) * scale / 1;
        // A small picture still gets windows, partly off its edges.
        const int wx = std::uniform_int_distribution<int>(-100, std::max(-100, width - 200))(rng);
        const int wy = std::uniform_int_distribution<int>(0, std::max(0, height - 150))(rng);
        Fill(image, wx - 1, wy - 1, ww + 2, wh + 2, 0x404040);
        Fill(image, wx, wy, ww, wh, 0xF4F4F4);
        Fill(image, wx, wy, ww, 28, w % 2 ? 0x2B579A : 0xDDDDDD);
        // Text: rows of glyph cells, each glyph a few random strokes.
        for (int ty = wy + 40; ty + 14 < wy + wh - 40; ty += 18) {
            int tx = wx + 10;
            const int lineEnd = wx + std::uniform_int_distribution<int>(ww / 3, ww - 10)(rng);
            while (tx + 8 < lineEnd) {
                if (rng() % 6 == 0) {
                    tx += 5; // a space
                    continue;
                }
                const std::uint32_t glyph = rng();
                for (int s = 0; s < 4; ++s) {
                    const int gx = tx + static_cast<int>((glyph >> (s * 6)) % 6);
                    const int gy = ty + static_cast<int>((glyph >> (s * 6 + 3)) % 4) * 3;
                    Fill(image, gx, gy, s % 2 ? 1 : 4, s % 2 ? 9 : 1, 0x202020);
                }
                tx += 7;
            }
        }
        Fill(image, wx + ww - 180, wy + wh - 34, 80, 24, 0xE1E1E1);
        Fill(image, wx + ww - 90, wy + wh - 34, 80, 24, 0x0078D7);
        if (w % 3 == 0) { // a photograph: smooth shapes with grain
            const int px = wx + ww / 2;
            const int py = wy + 40;
            const int pw = ww / 2 - 10;
            const int ph = wh / 2;
            for (int y = std::max(0, py); y < std::min(height, py + ph); ++y) {
                for (int x = std::max(0, px); x < std::min(width, px + pw); ++x) {
                    std::uint8_t* p = image.pixel(x, y);
                    const int grain = static_cast<int>(rng() % 9) - 4;
                    p[0] =
                        static_cast<std::uint8_t>(std::clamp(128 + (x * 3 % 97) + grain, 0, 255));
                    p[1] =
                        static_cast<std::uint8_t>(std::clamp(90 + (y * 2 % 131) + grain, 0, 255));
                    p[2] =
                        static_cast<std::uint8_t>(std::clamp(60 + ((x + y) % 71) + grain, 0, 255));
                }
            }
        }
    }
    return image;
}

// The program's largest output: a 3840x2160 screen at 200 %, every pixel doubled.
inline Image Doubled(const Image& small) {
    Image image;
    image.width = small.width * 2;
    image.height = small.height * 2;
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            std::copy_n(small.pixel(x / 2, y / 2), 3, image.pixel(x, y));
        }
    }
    return image;
}

} // namespace bench
