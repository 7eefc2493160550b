// A picture box's persistent image: a 32-bit top-down DIB section the program
// can draw into with GDI and read pixel by pixel.
#pragma once

#include "base/handles_win.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace qorvic {

class Picture {
public:
    // Replaces the image by a new one of the given size, cleared to black.
    bool Create(int width, int height);
    void Clear();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !bitmap_; }
    HBITMAP Handle() const { return bitmap_.get(); }
    // 0x00RRGGBB, as GDI stores it.
    std::uint32_t PixelAt(int x, int y) const;
    // The pixels, rows top-down and packed, after GDI has finished drawing
    // into them; null when empty.
    std::uint32_t* Pixels();

    // A packed bottom-up CF_DIB block (BITMAPINFOHEADER + 32-bit pixels).
    std::string ToPackedDib() const;
    // Top-down RGB bytes, 3 per pixel.
    std::string ToRgb() const;

private:
    Bitmap bitmap_;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace qorvic
