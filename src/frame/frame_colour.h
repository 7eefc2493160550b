// What a stored 32-bit colour value means for the frame: a plain colour
// 0x00BBGGRR, a system colour 0x800000nn, or no colour at all.
#pragma once

#include <cstdint>

namespace qorvic {

struct FrameColour {
    enum class Kind { Rgb, System, Invalid };
    Kind kind = Kind::Invalid;
    std::uint32_t value = 0; // the 0x00BBGGRR colour, or the system colour index
};

FrameColour ClassifyColour(std::int32_t stored);

inline constexpr std::int32_t kDesignedFrameColour = 0x0080FFFF; // red 255, green 255, blue 128

} // namespace qorvic
