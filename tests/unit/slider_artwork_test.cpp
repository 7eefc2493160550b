#include "controls/slider_artwork.h"
#include "controls/slider_model.h"

#include <gtest/gtest.h>

using namespace qorvic;

namespace {

int Brightness(std::uint32_t c) {
    return static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
}

} // namespace

TEST(SliderArtwork, FillColumnIsTheGrooveColourOnlyInItsSevenRows) {
    constexpr std::uint32_t groove = 0x00123456;
    const SliderPicture fill = SliderFillArt(groove);
    for (int y = 0; y < kSliderHeight; ++y) {
        const bool grooveRow = y >= kSliderGrooveFirstRow && y <= kSliderGrooveLastRow;
        EXPECT_EQ(fill.At(0, y) == groove, grooveRow) << "row " << y;
    }
    // The bevel: dark lips just above the groove, light ones just below.
    EXPECT_LT(Brightness(fill.At(0, kSliderGrooveFirstRow - 1)), Brightness(kSliderFaceColour));
    EXPECT_GT(Brightness(fill.At(0, kSliderGrooveLastRow + 1)), Brightness(kSliderFaceColour));
    EXPECT_EQ(fill.At(0, 0), kSliderFaceColour);
    EXPECT_EQ(fill.At(0, kSliderHeight - 1), kSliderFaceColour);
}

TEST(SliderArtwork, CapsJoinTheFillColumnsAndRoundTheGrooveOff) {
    const SliderPicture left = SliderLeftCapArt(), right = SliderRightCapArt();
    const SliderPicture full = SliderFillArt(kSliderDefaultForeColor);
    const SliderPicture empty = SliderFillArt(kSliderDefaultBackColor);
    for (int y = 0; y < kSliderHeight; ++y) {
        EXPECT_EQ(left.At(kSliderLeftCapWidth - 1, y), full.At(0, y)) << "row " << y;
        EXPECT_EQ(right.At(0, y), empty.At(0, y)) << "row " << y;
        EXPECT_EQ(left.At(0, y), kSliderFaceColour) << "the left end is rounded, row " << y;
        EXPECT_EQ(right.At(kSliderRightCapWidth - 1, y), kSliderFaceColour) << "row " << y;
    }
    // Nearer the end the groove gets shorter: count its rows column by column.
    const auto grooveRows = [](const SliderPicture& p, int x, std::uint32_t groove) {
        int n = 0;
        for (int y = 0; y < p.height; ++y)
            n += p.At(x, y) == groove;
        return n;
    };
    EXPECT_LT(grooveRows(left, 3, kSliderDefaultForeColor),
              grooveRows(left, 6, kSliderDefaultForeColor));
    EXPECT_LT(grooveRows(right, 10, kSliderDefaultBackColor),
              grooveRows(right, 7, kSliderDefaultBackColor));
    // The rounded ends carry the bevel too: shadow on the left end, light on the right.
    EXPECT_LT(Brightness(left.At(2, 9)), Brightness(kSliderFaceColour));
    EXPECT_GT(Brightness(right.At(11, 9)), Brightness(kSliderFaceColour));
}

TEST(SliderArtwork, HandleIsShadedLightAboveDarkBelowWithAnOutline) {
    const SliderPicture h = SliderHandleArt();
    EXPECT_GT(Brightness(h.At(3, 2)), Brightness(h.At(3, kSliderHandleHeight - 3)));
    EXPECT_GT(Brightness(h.At(1, 4)), Brightness(h.At(kSliderHandleWidth - 2, 4)))
        << "lit left edge, shaded right edge";
    for (int x = 1; x < kSliderHandleWidth - 1; ++x) {
        EXPECT_LT(Brightness(h.At(x, 0)), Brightness(h.At(x, 1))) << "outline at column " << x;
        EXPECT_LT(Brightness(h.At(x, kSliderHandleHeight - 1)), Brightness(kSliderFaceColour));
    }
    // A grip in the middle: the centre column has a dark line through its face.
    EXPECT_LT(Brightness(h.At(kSliderHandleWidth / 2, 4)), Brightness(h.At(4, 4)));
}
