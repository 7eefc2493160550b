#include "base/dpi.h"

#include "base/numeric.h"

#include <cstdlib>

namespace qorvic {

int UsableDpi(int dpi) {
    return dpi > 0 ? dpi : kDesignDpi;
}

int ScaleForDpi(int length, int dpi) {
    // In 64 bits: a large length times a large DPI must not overflow before the division.
    const std::int64_t product = std::int64_t{length} * UsableDpi(dpi);
    const std::int64_t magnitude = (std::llabs(product) * 2 + kDesignDpi) / (2 * kDesignDpi);
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

int LengthAtDesignDpi(int length, int dpi) {
    const int from = UsableDpi(dpi);
    const std::int64_t product = std::int64_t{length} * kDesignDpi;
    const std::int64_t magnitude = (std::llabs(product) * 2 + from) / (2 * std::int64_t{from});
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

std::int16_t TwipsPerPixelForDpi(int dpi) {
    // Above 2880 DPI the value would round to 0 and every twips division would fail.
    const std::int16_t twips = ToInt16(1440.0 / UsableDpi(dpi)).value_or(15);
    return twips > 0 ? twips : std::int16_t{1};
}

Box ScaleForDpi(const Box& box, int dpi) {
    return {ScaleForDpi(box.left, dpi), ScaleForDpi(box.top, dpi), ScaleForDpi(box.width, dpi),
            ScaleForDpi(box.height, dpi)};
}

} // namespace qorvic
