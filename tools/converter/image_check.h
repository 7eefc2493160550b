// Limits every reader and encoder of the converter agrees on.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>

namespace conv {

// Larger pictures than this are refused before anything is allocated: no screen
// comes near it, and it keeps every size computation far from overflow.
inline constexpr std::int64_t kMaxImageSide = 65535;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 28;

// True when rows have a drawable size within the limits; otherwise says why.
inline bool CheckRows(const PixelRows& rows, std::string& error) {
    if (rows.width <= 0 || rows.height <= 0 || rows.top == nullptr) {
        error = "empty picture";
        return false;
    }
    if (rows.width > kMaxImageSide || rows.height > kMaxImageSide ||
        std::int64_t{rows.width} * rows.height > kMaxImagePixels) {
        error = "picture too large";
        return false;
    }
    return true;
}

// True when the picture has a drawable size within the limits and its pixel
// buffer matches that size; otherwise says why in `error`.
inline bool CheckImage(const Image& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0) {
        error = "empty picture";
        return false;
    }
    if (image.width > kMaxImageSide || image.height > kMaxImageSide ||
        std::int64_t{image.width} * image.height > kMaxImagePixels) {
        error = "picture too large";
        return false;
    }
    if (image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
        error = "pixel buffer does not match the picture size";
        return false;
    }
    return true;
}

} // namespace conv
