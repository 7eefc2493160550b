#include "frame/scale_panel_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace qorvic;

namespace {

// A framed window as the tests imagine it: 15 twips per pixel and a border and
// caption taking 8 x 27 pixels of the outer size.
constexpr int kTwips = 15;
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;

struct FakeFrame {
    int outerWidthTwips, outerHeightTwips;
    int ClientWidth() const { return outerWidthTwips / kTwips - kFrameWidth; }
    int ClientHeight() const { return outerHeightTwips / kTwips - kFrameHeight; }
};

// What the panel's opening does to the frame and the panel, step by step.
PanelRect Open(FakeFrame& frame, const PanelRect& panel) {
    if (!ScalePanelNeedsLargerWindow(frame.outerWidthTwips, frame.outerHeightTwips))
        return CentredScalePanel(frame.ClientWidth(), frame.ClientHeight(), panel);
    frame.outerWidthTwips = kScalePanelWindowWidthTwips;
    frame.outerHeightTwips = kScalePanelWindowHeightTwips;
    return WidenedScalePanel(frame.ClientWidth(), frame.ClientHeight(), panel.height);
}

constexpr PanelRect kStartPanel{0, 0, kScalePanelWidth, kScalePanelHeight};

} // namespace

TEST(ScalePanelPlacement, ASmallWindowGrowsAndThePanelSpansItsWidth) {
    FakeFrame frame{3000, 2000};
    const PanelRect panel = Open(frame, kStartPanel);
    EXPECT_EQ(frame.outerWidthTwips, 4800);
    EXPECT_EQ(frame.outerHeightTwips, 4000);
    // Client 312 x 239 (266.67 - 27, not rounded by the fake).
    EXPECT_EQ(panel, (PanelRect{0.0f, 239 / 2.0f - 52.5f, 312.0f, 239.0f - 125.0f}));
}

TEST(ScalePanelPlacement, JustBelowBothLimitsTheWindowIsStillSetEvenIfNarrower) {
    FakeFrame frame{4809, 3999};
    Open(frame, kStartPanel);
    EXPECT_EQ(frame.outerWidthTwips, 4800) << "a little narrower than before";
    EXPECT_EQ(frame.outerHeightTwips, 4000);
}

TEST(ScalePanelPlacement, WideEnoughWindowKeepsItsSizeAndCentresThePanel) {
    FakeFrame frame{4810, 1000};
    const PanelRect panel = Open(frame, kStartPanel);
    EXPECT_EQ(frame.outerWidthTwips, 4810);
    EXPECT_EQ(frame.outerHeightTwips, 1000);
    // Client 312 x 39: the panel sticks out above and below.
    EXPECT_FLOAT_EQ(panel.left, 6.0f);
    EXPECT_FLOAT_EQ(panel.top, 19.5f - 52.5f);
    EXPECT_LT(panel.top, 0.0f);
    EXPECT_GT(panel.top + panel.height, 39.0f);
    EXPECT_FLOAT_EQ(panel.width, 300.0f);
    EXPECT_FLOAT_EQ(panel.height, 105.0f);
}

TEST(ScalePanelPlacement, TallButNarrowWindowIsLeftAlone) {
    EXPECT_FALSE(ScalePanelNeedsLargerWindow(1000, 4000));
    EXPECT_TRUE(ScalePanelNeedsLargerWindow(1000, 3999));
}

TEST(ScalePanelPlacement, OpeningTwiceOnALargeWindowKeepsThePlace) {
    FakeFrame frame{9000, 7000};
    const PanelRect first = Open(frame, kStartPanel);
    const PanelRect second = Open(frame, first);
    EXPECT_EQ(first, second);
    EXPECT_FLOAT_EQ(first.left, (600 - 8) / 2.0f - 150.0f);
}

TEST(ScalePanelPlacement, AfterGrowingThePanelKeepsItsNewSizeOnLaterOpenings) {
    FakeFrame frame{3000, 2000};
    const PanelRect grown = Open(frame, kStartPanel);
    frame = {9000, 7000};
    const PanelRect later = Open(frame, grown);
    EXPECT_FLOAT_EQ(later.width, grown.width);
    EXPECT_FLOAT_EQ(later.height, grown.height);
    EXPECT_FLOAT_EQ(later.top, (466 - 27) / 2.0f - grown.height / 2.0f);
}

TEST(ScalePanelLabel, TextAndLeftFollowTheScale) {
    EXPECT_EQ(PercentLabelText(1), L"10%");
    EXPECT_EQ(PercentLabelText(10), L"100%");
    EXPECT_EQ(PercentLabelText(20), L"200%");
    EXPECT_FLOAT_EQ(PercentLabelLeft(1), 17.5f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(10), 130.0f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(20), 255.0f);
}

TEST(ScalePanelLabel, AStepBeyondTheSliderRangeDoesNotWrap) {
    EXPECT_EQ(PercentLabelText(5000), L"32767%");
    EXPECT_EQ(PercentLabelText(-5000), L"-32768%");
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
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            const bool outerRing = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const bool innerRing = !outerRing && (x == 1 || y == 1 || x == w - 2 || y == h - 2);
            EXPECT_EQ(colourAt.count({x, y}) == 1, outerRing || innerRing) << x << "," << y;
        }
    EXPECT_EQ(colourAt.size(), static_cast<std::size_t>(w * h - (w - 4) * (h - 4)));

    EXPECT_EQ((colourAt[{0, 50}]), kSysColour3dLight);
    EXPECT_EQ((colourAt[{150, 0}]), kSysColour3dLight);
    EXPECT_EQ((colourAt[{w - 1, 50}]), kSysColour3dDarkShadow);
    EXPECT_EQ((colourAt[{150, h - 1}]), kSysColour3dDarkShadow);
    EXPECT_EQ((colourAt[{1, 50}]), kSysColourHighlightText);
    EXPECT_EQ((colourAt[{150, 1}]), kSysColourHighlightText);
    EXPECT_EQ((colourAt[{w - 2, 50}]), kSysColourButtonShadow);
    EXPECT_EQ((colourAt[{150, h - 2}]), kSysColourButtonShadow);
    // The dark edges are drawn last, so they own the top-right and bottom-left corners.
    EXPECT_EQ((colourAt[{w - 1, 0}]), kSysColour3dDarkShadow);
    EXPECT_EQ((colourAt[{0, h - 1}]), kSysColour3dDarkShadow);
    EXPECT_EQ((colourAt[{w - 2, 1}]), kSysColourButtonShadow);
}
