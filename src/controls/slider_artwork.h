// The artwork of the slider's five bitmaps, as plain pixel arrays: bevelled end
// caps that round off the groove, a shaded handle with a grip, and the two fill
// columns whose rows above and below the groove carry its bevel.
#pragma once

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

SliderPicture SliderLeftCapArt();  // 11 x 20, its groove end shows the full colour
SliderPicture SliderRightCapArt(); // 14 x 20, its groove end shows the empty colour
SliderPicture SliderHandleArt();   // 19 x 10
// 1 x 20 fill columns; `grooveColour` fills rows 6 to 12 as designed.
SliderPicture SliderFillArt(std::uint32_t grooveColour);

} // namespace qorvic
