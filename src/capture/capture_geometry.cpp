#include "capture/capture_geometry.h"

#include "base/numeric.h"

#include <algorithm>

namespace qorvic {

CaptureSource FrameCaptureArea(const Rect& area, int dpi) {
    const Rect inner = CaptureRect(area, dpi);
    return CaptureSource{inner.left, inner.top, std::max(inner.width, 0),
                         std::max(inner.height, 0)};
}

CaptureSource WholeScreenArea(int virtualLeft, int virtualTop, int virtualWidth,
                              int virtualHeight) {
    return CaptureSource{virtualLeft, virtualTop, std::max(virtualWidth, 0),
                         std::max(virtualHeight, 0)};
}

PictureSize ScaledSize(int width, int height, std::int16_t scaleStep) {
    if (width <= 0 || height <= 0 || scaleStep <= 0)
        return {};
    auto scale = [scaleStep](int length) {
        const double scaled = RoundHalfEven(static_cast<double>(scaleStep) * length / 10.0);
        return static_cast<int>(std::max(1.0, scaled));
    };
    return PictureSize{scale(width), scale(height)};
}

} // namespace qorvic
