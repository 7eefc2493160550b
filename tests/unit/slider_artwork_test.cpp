#include "controls/slider_artwork.h"
#include "controls/slider_model.h"
#include "dpi_checks.h"

#include <gtest/gtest.h>

#include <set>

using namespace qorvic;

namespace {

int Brightness(std::uint32_t c) {
    return static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
}

std::set<std::uint32_t> Colours(const SliderPicture& p) {
    return {p.pixels.begin(), p.pixels.end()};
}

} // namespace

// At every scale: drawn at the metrics' sizes, the groove colour exactly in the
// rows the control repaints, caps continuing the fill without a seam, rounded
// ends, and no colour the design does not have (a stretched bitmap would blend).
TEST(SliderAtDpi, PicturesFitTheMetricsJoinWithoutSeamsAndStayCrisp) {
    constexpr std::uint32_t groove = 0x00123456;
    std::set<std::uint32_t> designColours = Colours(SliderLeftCapArt());
    for (const std::uint32_t c : Colours(SliderRightCapArt()))
        designColours.insert(c);
    for (const int dpi : qorvic::testing::kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const SliderMetrics m = SliderMetricsForDpi(dpi);
        const SliderPicture left = SliderLeftCapArt(dpi), right = SliderRightCapArt(dpi),
                            handle = SliderHandleArt(dpi), fill = SliderFillArt(groove, dpi),
                            full = SliderFillArt(kSliderDefaultForeColor, dpi),
                            empty = SliderFillArt(kSliderDefaultBackColor, dpi);
        EXPECT_EQ(left.width, m.leftCapWidth);
        EXPECT_EQ(right.width, m.rightCapWidth);
        EXPECT_EQ(handle.width, m.handleWidth);
        EXPECT_EQ(handle.height, m.handleHeight);
        EXPECT_EQ(fill.width, 1);
        for (const SliderPicture* p : {&left, &right, &fill})
            EXPECT_EQ(p->height, m.height);
        for (int y = 0; y < m.height; ++y) {
            const bool grooveRow = y >= m.grooveFirstRow && y <= m.grooveLastRow;
            EXPECT_EQ(fill.At(0, y) == groove, grooveRow) << "row " << y;
            EXPECT_EQ(left.At(m.leftCapWidth - 1, y), full.At(0, y)) << "row " << y;
            EXPECT_EQ(right.At(0, y), empty.At(0, y)) << "row " << y;
            EXPECT_EQ(left.At(0, y), kSliderFaceColour) << "row " << y;
            EXPECT_EQ(right.At(m.rightCapWidth - 1, y), kSliderFaceColour) << "row " << y;
        }
        for (const SliderPicture* p : {&left, &right})
            for (const std::uint32_t c : Colours(*p))
                EXPECT_TRUE(designColours.count(c)) << std::hex << c;
        EXPECT_EQ(Colours(full), Colours(SliderFillArt(kSliderDefaultForeColor)));
    }
    // At 200 % every design row becomes exactly two pixel rows.
    const SliderPicture at96 = SliderFillArt(groove, 96), at192 = SliderFillArt(groove, 192);
    for (int y = 0; y < at192.height; ++y)
        EXPECT_EQ(at192.At(0, y), at96.At(0, y / 2)) << "row " << y;
}

TEST(SliderArtwork, GrooveIsBevelledDarkAboveLightBelow) {
    const SliderPicture fill = SliderFillArt(kSliderDefaultForeColor);
    // Dark lips just above the groove, light ones just below.
    EXPECT_LT(Brightness(fill.At(0, kSliderGrooveFirstRow - 1)), Brightness(kSliderFaceColour));
    EXPECT_GT(Brightness(fill.At(0, kSliderGrooveLastRow + 1)), Brightness(kSliderFaceColour));
}

TEST(SliderArtwork, HandleIsLitAboveAndLeftOutlinedWithAGrip) {
    for (const int dpi : {96, 120, 192}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const SliderPicture h = SliderHandleArt(dpi);
        const int line = dpi >= 192 ? 2 : 1; // outline and lit edge keep their physical width
        const int mid = h.width / 4;
        for (int y = 0; y < line; ++y) {
            EXPECT_EQ(h.At(mid, y), 0x00404040u) << "outline row " << y;
            EXPECT_EQ(h.At(mid, line + y), 0x00FFFFFFu) << "lit row " << line + y;
        }
        EXPECT_NE(h.At(mid, 2 * line), 0x00FFFFFFu) << "face below the lit edge";
        EXPECT_GT(Brightness(h.At(line, h.height / 2)),
                  Brightness(h.At(h.width - 1 - line, h.height / 2)))
            << "lit left edge, shaded right edge";
        EXPECT_LT(Brightness(h.At(h.width / 2, h.height / 2)), Brightness(h.At(mid, h.height / 2)))
            << "a dark grip in the middle";
    }
}
