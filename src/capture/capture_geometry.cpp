#include "capture/capture_geometry.h"

#include "base/dpi.h"
#include "base/numeric.h"

#include <algorithm>
#include <limits>

namespace qorvic {

Box FrameCaptureArea(const Box& area, int dpi) {
    // One pixel wider than the outline's inset (1 pixel at 96 DPI, scaled), so
    // the outline's one-pixel line never shows in a capture.
    const int border = std::max(ScaleForDpi(2, dpi), ScaleForDpi(1, dpi) + 1);
    return Box{area.left + border, area.top + border, std::max(area.width - 2 * border, 0),
               std::max(area.height - 2 * border, 0)};
}

Box WholeScreenArea(int virtualLeft, int virtualTop, int virtualWidth, int virtualHeight) {
    return Box{virtualLeft, virtualTop, std::max(virtualWidth, 0), std::max(virtualHeight, 0)};
}

Box VirtualScreenOf(const std::vector<Box>& monitors) {
    if (monitors.empty())
        return {};
    // Edges in 64 bits: a monitor near the coordinate limits must not wrap the far edge.
    std::int64_t left = monitors.front().left, top = monitors.front().top;
    std::int64_t right = left, bottom = top;
    for (const Box& m : monitors) {
        left = std::min<std::int64_t>(left, m.left);
        top = std::min<std::int64_t>(top, m.top);
        right = std::max(right, std::int64_t{m.left} + std::max(m.width, 0));
        bottom = std::max(bottom, std::int64_t{m.top} + std::max(m.height, 0));
    }
    const auto length = [](std::int64_t l) {
        return static_cast<int>(std::min<std::int64_t>(l, std::numeric_limits<int>::max()));
    };
    return Box{static_cast<int>(left), static_cast<int>(top), length(right - left),
               length(bottom - top)};
}

Size ScaledSize(int width, int height, std::int16_t scaleStep) {
    if (width <= 0 || height <= 0 || scaleStep <= 0)
        return {};
    auto scale = [scaleStep](int length) {
        const double scaled = RoundHalfEven(static_cast<double>(scaleStep) * length / 10.0);
        return static_cast<int>(std::max(1.0, scaled));
    };
    return Size{scale(width), scale(height)};
}

} // namespace qorvic
