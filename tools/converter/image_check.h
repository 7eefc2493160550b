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

// True when the size is drawable and within the limits; otherwise says why.
inline bool CheckSize(int width, int height, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "empty picture";
        return false;
    }
    if (width > kMaxImageSide || height > kMaxImageSide ||
        std::int64_t{width} * height > kMaxImagePixels) {
        error = "picture too large";
        return false;
    }
    return true;
}

// True when rows have a drawable size within the limits; otherwise says why.
inline bool CheckRows(const PixelRows& rows, std::string& error) {
    if (rows.top == nullptr) {
        error = "empty picture";
        return false;
    }
    return CheckSize(rows.width, rows.height, error);
}

// True when the picture has a drawable size within the limits and its pixel
// buffer matches that size; otherwise says why in `error`.
inline bool CheckImage(const Image& image, std::string& error) {
    if (!CheckSize(image.width, image.height, error))
        return false;
    if (image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
        error = "pixel buffer does not match the picture size";
        return false;
    }
    return true;
}

} // namespace conv
