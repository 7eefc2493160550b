#include "frame/frame_colour.h"

namespace qorvic {

FrameColour ClassifyColour(std::int32_t stored) {
    const auto bits = static_cast<std::uint32_t>(stored);
    if ((bits & 0xFF000000u) == 0)
        return {FrameColour::Kind::Rgb, bits};
    // System colours: the high bit set and an index the system knows (0 to 30).
    if ((bits & 0xFFFFFF00u) == 0x80000000u && (bits & 0xFFu) <= 30)
        return {FrameColour::Kind::System, bits & 0xFFu};
    return {FrameColour::Kind::Invalid, 0};
}

} // namespace qorvic
