#include "controls/slider_model.h"
#include "dpi_checks.h"
#include "frame/scale_panel_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace qorvic;
using qorvic::testing::kDpis;

// At every scale: the panel and its children keep their physical size, stay
// inside the panel and clear of each other, and the slider keeps its place.
TEST(ScalePanelAtDpi, ChildrenFitTheirPanelWithoutOverlapAtEveryScale) {
    const ScalePanelGeometry design = ScalePanelGeometryForDpi(96);
    for (const int dpi : kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const ScalePanelGeometry g = ScalePanelGeometryForDpi(dpi);
        EXPECT_TRUE(qorvic::testing::SamePhysicalSize(g.width, design.width, dpi));
        EXPECT_TRUE(qorvic::testing::SamePhysicalSize(g.height, design.height, dpi));
        EXPECT_TRUE(qorvic::testing::SamePhysicalSize(g.heightReserve, design.heightReserve, dpi));
        const std::pair<const char*, std::pair<Box, Box>> children[] = {
            {"percentage", {g.percentLabel, design.percentLabel}},
            {"slider", {g.slider, design.slider}},
            {"equals", {g.equalsLabel, design.equalsLabel}},
            {"close", {g.closeButton, design.closeButton}},
        };
        for (const auto& [name, boxes] : children) {
            EXPECT_TRUE(qorvic::testing::SamePhysicalBox(boxes.first, boxes.second, dpi)) << name;
            EXPECT_TRUE(qorvic::testing::FitsIn(boxes.first, g.width, g.height)) << name;
            for (const auto& [other, otherBoxes] : children)
                if (other != name) {
                    EXPECT_FALSE(qorvic::testing::Overlap(boxes.first, otherBoxes.first))
                        << name << " and " << other;
                }
        }
        // The percentage rides above the knob, its left edge a scaled 3 pixels before it.
        const auto knob = SliderHandleLeft(g.slider.width, 10, 1, 20, SliderMetricsForDpi(dpi));
        ASSERT_TRUE(knob);
        EXPECT_NEAR(g.slider.left + *knob - PercentLabelLeft(10, dpi), 3.0 * dpi / 96, 2.5);
    }
    EXPECT_FLOAT_EQ(PercentLabelLeft(10, 96), 130.0f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(10, 0), 130.0f) << "a failed DPI query counts as 96";
}

TEST(ScalePanelPlacement, OnlyAWindowSmallInBothSidesGrows) {
    const struct {
        int width, height;
        bool grows;
    } cases[] = {
        {3000, 2000, true},  {4809, 3999, true}, // a little wider than 4800 still is set to it
        {4810, 1000, false}, {1000, 4000, false}, {1000, 3999, true}, {9000, 7000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScalePanelNeedsLargerWindow(c.width, c.height), c.grows)
            << c.width << " x " << c.height << " twips";
}

TEST(ScalePanelPlacement, GrownWindowsPanelSpansItsWidthOthersAreCentredAndStay) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const ScalePanelGeometry g = ScalePanelGeometryForDpi(dpi);
        const int clientWidth = 4800 / TwipsPerPixelForDpi(dpi) - 8;
        const int clientHeight = 4000 / TwipsPerPixelForDpi(dpi) - 27;
        const PanelRect grown = WidenedScalePanel(clientWidth, clientHeight, float(g.height), dpi);
        EXPECT_EQ(grown.left, 0.0f);
        EXPECT_EQ(grown.width, float(clientWidth));
        EXPECT_EQ(grown.height, float(clientHeight - g.heightReserve)) << "the scaled reserve";
        EXPECT_FLOAT_EQ(grown.top, (clientHeight - g.height) / 2.0f);
    }
    // A panel larger than its window is centred over it; opening again keeps the place.
    const PanelRect start{0, 0, kScalePanelWidth, kScalePanelHeight};
    const PanelRect centred = CentredScalePanel(312, 39, start);
    EXPECT_EQ(centred, (PanelRect{6.0f, 19.5f - 52.5f, 300.0f, 105.0f}));
    EXPECT_EQ(CentredScalePanel(312, 39, centred), centred);

    const PanelRect at96{2.0f, 61.5f, 304.0f, 103.0f};
    const PanelRect at144 = RescaledScalePanel(at96, 96, 144);
    EXPECT_EQ(at144, (PanelRect{3.0f, 92.25f, 456.0f, 154.5f}));
    EXPECT_EQ(RescaledScalePanel(at144, 144, 96), at96);
    EXPECT_EQ(RescaledScalePanel(at96, 96, 0), at96) << "a failed DPI query changes nothing";
}

TEST(ScalePanelLabel, TextFollowsTheScaleWithoutWrapping) {
    const std::pair<std::int16_t, const wchar_t*> cases[] = {
        {1, L"10%"}, {10, L"100%"}, {20, L"200%"}, {5000, L"32767%"}, {-5000, L"-32768%"}};
    for (const auto& [step, text] : cases)
        EXPECT_EQ(PercentLabelText(step), text);
}

TEST(ScalePanelBevel, DrawnInOrderItFramesThePanelRaised) {
    // Draw the lines as GDI does (end point excluded), later lines over earlier ones.
    constexpr int w = 300, h = 105;
    std::map<std::pair<int, int>, int> colourAt;
    for (const BevelLine& line : ScalePanelBevel(w, h)) {
        ASSERT_TRUE(line.x1 == line.x2 || line.y1 == line.y2) << "bevel lines are straight";
        const int dx = (line.x2 > line.x1) - (line.x2 < line.x1);
        const int dy = (line.y2 > line.y1) - (line.y2 < line.y1);
        for (int x = line.x1, y = line.y1; x != line.x2 || y != line.y2; x += dx, y += dy)
            colourAt[{x, y}] = line.systemColour;
    }
    // Two rings, nothing inside them.
    EXPECT_EQ(colourAt.size(), static_cast<std::size_t>(w * h - (w - 4) * (h - 4)));
    for (const auto& [at, colour] : colourAt)
        EXPECT_TRUE(std::min({at.first, at.second, w - 1 - at.first, h - 1 - at.second}) <= 1);
    // Light top and left, dark bottom and right, which own the far corners.
    for (const auto& at : {std::pair{0, 50}, {150, 0}, {1, 50}})
        EXPECT_TRUE(colourAt[at] == kSysColour3dLight || colourAt[at] == kSysColourHighlightText);
    for (const auto& at : {std::pair{w - 1, 50}, {150, h - 1}, {w - 1, 0}, {0, h - 1}})
        EXPECT_EQ(colourAt[at], kSysColour3dDarkShadow);
}
