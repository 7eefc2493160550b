#include "capture/capture_geometry.h"
#include "controls/menu_font.h"
#include "dpi_checks.h"
#include "frame/main_layout.h"

#include <gtest/gtest.h>

using namespace qorvic;
using namespace qorvic::testing;

// The designed 304 x 228 client at each scale, with the strip and label the
// system gives there: everything keeps its physical size and its place.
TEST(MainLayoutAtDpi, DesignedWindowKeepsItsShapeAtEveryScale) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const int width = ScaleForDpi(304, dpi), height = ScaleForDpi(228, dpi);
        const int strip = ScaleForDpi(19, dpi), labelWidth = ScaleForDpi(40, dpi);
        // An odd strip-minus-label height: the label's top keeps its half pixel.
        const int labelHeight = ScaleForDpi(16, dpi) + ((strip - ScaleForDpi(16, dpi)) % 2 ? 0 : 1);
        const MainLayout l = ComputeMainLayout(width, height, strip, labelWidth, labelHeight, dpi);

        EXPECT_EQ(l.strip.width, width);
        EXPECT_EQ(l.strip.height, strip);
        EXPECT_FLOAT_EQ(2 * l.optionsLabelTop + labelHeight, strip) << "centred in the strip";
        EXPECT_TRUE(SamePhysicalSize(l.optionsLabelLeft, 10, dpi));
        ASSERT_TRUE(l.wholeScreenBox && l.seeThroughArea);
        // The check box sits in the strip right of the label, up to the client's edge.
        const auto& box = *l.wholeScreenBox;
        EXPECT_GE(box.left, l.optionsLabelLeft + labelWidth);
        EXPECT_TRUE(FitsIn(box, width, strip));
        EXPECT_EQ(box.left + box.width, width);

        // The see-through area: below the strip, the same margin on three sides.
        const auto& area = *l.seeThroughArea;
        const int margin = area.left;
        EXPECT_TRUE(SamePhysicalSize(margin, 6, dpi));
        EXPECT_EQ(area.top, strip + margin);
        EXPECT_EQ(width - (area.left + area.width), margin);
        EXPECT_EQ(height - (area.top + area.height), margin);

        // The capture lies strictly inside the one-pixel outline, two pixels in.
        const Outline o = SeeThroughOutline(area.width, area.height, dpi);
        const Box capture = FrameCaptureArea(area, dpi);
        EXPECT_TRUE(SamePhysicalSize(o.x1, 1, dpi, 0.5));
        EXPECT_EQ(area.width - o.x2, o.x1);
        EXPECT_EQ(area.height - o.y2, o.y1);
        EXPECT_TRUE(SamePhysicalSize(capture.left - area.left, 2, dpi));
        EXPECT_GT(capture.left, area.left + o.x1);
        EXPECT_GT(capture.top, area.top + o.y1);
        EXPECT_LT(capture.left + capture.width, area.left + o.x2);
        EXPECT_LT(capture.top + capture.height, area.top + o.y2);

        // The smallest window that still has an area is two margins wide and high.
        EXPECT_TRUE(
            ComputeMainLayout(2 * margin, strip + 2 * margin, strip, labelWidth, labelHeight, dpi)
                .seeThroughArea);
        EXPECT_FALSE(ComputeMainLayout(2 * margin - 1, height, strip, labelWidth, labelHeight, dpi)
                         .seeThroughArea);
        EXPECT_FALSE(
            ComputeMainLayout(width, strip + 2 * margin - 1, strip, labelWidth, labelHeight, dpi)
                .seeThroughArea);
    }
}

TEST(MainLayout, TooSmallWindowsLeaveControlsWhereTheyWere) {
    // Narrower than the label needs: the check box fails, the area still shrinks.
    MainLayout l = ComputeMainLayout(50, 100, 19, 40, 16);
    EXPECT_FALSE(l.wholeScreenBox);
    ASSERT_TRUE(l.seeThroughArea);
    EXPECT_EQ(l.seeThroughArea->width, 38);
    // Minimised: nothing but the strip picture moves.
    l = ComputeMainLayout(0, 0, 19, 40, 16);
    EXPECT_FALSE(l.wholeScreenBox || l.seeThroughArea);
    EXPECT_EQ(l.strip.height, 19);
}

TEST(MenuFont, HeightsRoundHalvesToEvenWeightsAndNamesAsTheSystemGivesThem) {
    const std::pair<int, float> sizes[] = {
        {-12, 9}, {-13, 10}, {-14, 10}, {-10, 8}, {-100000, 32767}};
    for (const auto& [height, points] : sizes)
        EXPECT_EQ(MenuFontFromLogFont(height, 400, 0, L"Tahoma").size, points) << height;
    EXPECT_FALSE(MenuFontFromLogFont(-12, 400, 0, L"A").bold);
    for (const int weight : {0, 300, 600, 700})
        EXPECT_TRUE(MenuFontFromLogFont(-12, weight, 0, L"A").bold) << weight;
    EXPECT_TRUE(MenuFontFromLogFont(-12, 400, 255, L"A").italic);
    // A shorter name written over a longer one leaves its tail behind the NUL.
    EXPECT_EQ(MenuFontFromLogFont(-11, 400, 0, std::wstring(L"Tahoma\0l Dlg\0\0", 15)).name,
              L"Tahoma");
}
