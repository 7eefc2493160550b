// The artwork of the slider's five bitmaps, as plain pixel arrays: bevelled end
// caps that round off the groove, a shaded handle with a grip, and the two fill
// columns whose rows above and below the groove carry its bevel. Each picture
// is drawn at the size it is shown at for a DPI, so it stays crisp at any
// scale; at 96 DPI it has the designed size.
#pragma once

#include "base/dpi.h"

#include <cstdint>
#include <vector>

namespace qorvic {

// Pixels in 0x00BBGGRR, row by row from the top.
struct SliderPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The colour around the groove; the slider is meant for the grey panel.
inline constexpr std::uint32_t kSliderFaceColour = 0x00C0C0C0;

// Sizes at 96 DPI; at another DPI those of SliderMetricsForDpi.
SliderPicture SliderLeftCapArt(int dpi = kDesignDpi);  // 11 x 20, its groove end the full colour
SliderPicture SliderRightCapArt(int dpi = kDesignDpi); // 14 x 20, its groove end the empty colour
SliderPicture SliderHandleArt(int dpi = kDesignDpi);   // 19 x 10
// 1 x 20 fill columns; `grooveColour` fills the groove rows (6 to 12 at 96 DPI).
SliderPicture SliderFillArt(std::uint32_t grooveColour, int dpi = kDesignDpi);

} // namespace qorvic
