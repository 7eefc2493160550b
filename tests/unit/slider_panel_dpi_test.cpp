#include "base/dpi.h"
#include "controls/slider_artwork.h"
#include "controls/slider_model.h"
#include "frame/scale_panel_layout.h"
#include "update/update_prompt_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

using namespace qorvic;

namespace {

std::vector<int> Lengths(const SliderMetrics& m) {
    return {m.leftCapWidth, m.rightCapWidth, m.handleWidth,    m.handleHeight,
            m.handleTop,    m.height,        m.grooveFirstRow, m.grooveLastRow};
}

std::vector<int> Lengths(const Box& p) {
    return {p.left, p.top, p.width, p.height};
}

std::set<std::uint32_t> Colours(const SliderPicture& p) {
    return {p.pixels.begin(), p.pixels.end()};
}

constexpr int kDpis[] = {96, 120, 144, 192};

} // namespace

TEST(SliderAtDpi, MetricsKeepTheDesignAt96AndScaleElsewhere) {
    EXPECT_EQ(SliderMetricsForDpi(96), SliderMetrics{});
    EXPECT_DOUBLE_EQ(SliderMetricsForDpi(96).handleLead, 10.5);
    EXPECT_DOUBLE_EQ(SliderMetricsForDpi(144).handleLead, 15.75);
    EXPECT_EQ(Lengths(SliderMetricsForDpi(96)), (std::vector<int>{11, 14, 19, 10, 4, 20, 6, 12}));
    EXPECT_EQ(Lengths(SliderMetricsForDpi(120)), (std::vector<int>{14, 18, 24, 13, 5, 25, 8, 15}));
    EXPECT_EQ(Lengths(SliderMetricsForDpi(144)), (std::vector<int>{17, 21, 29, 15, 6, 30, 9, 19}));
    EXPECT_EQ(Lengths(SliderMetricsForDpi(192)), (std::vector<int>{22, 28, 38, 20, 8, 40, 12, 25}));
    // The smallest size: caps and two handles, and the scaled height.
    EXPECT_EQ(SliderLimitSize({10, 99}, SliderMetricsForDpi(96)), (SliderSize{63, 20}));
    EXPECT_EQ(SliderLimitSize({10, 99}, SliderMetricsForDpi(144)), (SliderSize{96, 30}));
    EXPECT_EQ(SliderLimitSize({500, 5}, SliderMetricsForDpi(192)), (SliderSize{500, 40}));
}

TEST(SliderAtDpi, PanelSliderHandleFollowsTheScaledDesign) {
    struct Case {
        int dpi, handleAtTen, handleAtOne, handleAtTwenty;
    };
    for (const Case c : {Case{96, 125, 11, 251}, Case{120, 155, 13, 313}, Case{144, 187, 16, 377},
                         Case{192, 250, 21, 503}}) {
        SCOPED_TRACE("dpi " + std::to_string(c.dpi));
        const SliderMetrics m = SliderMetricsForDpi(c.dpi);
        const int width = ScalePanelGeometryForDpi(c.dpi).slider.width;
        EXPECT_EQ(SliderHandleLeft(width, 10, 1, 20, m), c.handleAtTen);
        EXPECT_EQ(SliderHandleLeft(width, 1, 1, 20, m), c.handleAtOne);
        EXPECT_EQ(SliderHandleLeft(width, 20, 1, 20, m), c.handleAtTwenty);
        // Within two pixels of the 96-DPI place scaled: the knob keeps its physical place.
        EXPECT_NEAR(c.handleAtTen, 125.0 * c.dpi / 96, 2.0);
    }
}

TEST(SliderAtDpi, HandleStaysBetweenTheCapsAndADragOnItGivesItsValue) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const SliderMetrics m = SliderMetricsForDpi(dpi);
        const int width = ScalePanelGeometryForDpi(dpi).slider.width;
        for (std::int16_t v = 1; v <= 20; ++v) {
            const auto left = SliderHandleLeft(width, v, 1, 20, m);
            ASSERT_TRUE(left);
            EXPECT_GE(*left, m.leftCapWidth - 1) << "value " << v;
            EXPECT_LE(*left + m.handleWidth, width - m.rightCapWidth) << "value " << v;
            // The pointer over the handle's middle, where the user grabs it.
            const double grab = *left + m.handleWidth / 2.0 - 1.0;
            EXPECT_EQ(SliderDragValue(grab, width, 1, 20, m), v);
        }
        EXPECT_EQ(SliderDragValue(-50, width, 1, 20, m), 1);
        EXPECT_EQ(SliderDragValue(width + 50, width, 1, 20, m), 20);
    }
}

TEST(SliderAtDpi, PicturesAreDrawnAtTheScaledSizes) {
    for (const int dpi : kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const SliderMetrics m = SliderMetricsForDpi(dpi);
        const SliderPicture left = SliderLeftCapArt(dpi), right = SliderRightCapArt(dpi),
                            handle = SliderHandleArt(dpi);
        const SliderPicture full = SliderFillArt(kSliderDefaultForeColor, dpi),
                            empty = SliderFillArt(kSliderDefaultBackColor, dpi);
        EXPECT_EQ(left.width, m.leftCapWidth);
        EXPECT_EQ(right.width, m.rightCapWidth);
        EXPECT_EQ(handle.width, m.handleWidth);
        EXPECT_EQ(handle.height, m.handleHeight);
        for (const SliderPicture* p : {&left, &right, &full, &empty})
            EXPECT_EQ(p->height, m.height);
        EXPECT_EQ(full.width, 1);

        // The groove colour fills exactly the rows the control repaints with its colours.
        constexpr std::uint32_t groove = 0x00123456;
        const SliderPicture fill = SliderFillArt(groove, dpi);
        for (int y = 0; y < m.height; ++y) {
            const bool grooveRow = y >= m.grooveFirstRow && y <= m.grooveLastRow;
            EXPECT_EQ(fill.At(0, y) == groove, grooveRow) << "row " << y;
            // The caps' straight ends continue the fill columns without a seam.
            EXPECT_EQ(left.At(m.leftCapWidth - 1, y), full.At(0, y)) << "row " << y;
            EXPECT_EQ(right.At(0, y), empty.At(0, y)) << "row " << y;
        }
        // Rounded ends: the outermost columns are plain face.
        for (int y = 0; y < m.height; ++y) {
            EXPECT_EQ(left.At(0, y), kSliderFaceColour) << "row " << y;
            EXPECT_EQ(right.At(m.rightCapWidth - 1, y), kSliderFaceColour) << "row " << y;
        }
    }
}

TEST(SliderAtDpi, PicturesStayCrispWithoutBlendedColours) {
    // A stretched bitmap would blend neighbouring shades; drawn art only uses the design's.
    const std::set<std::uint32_t> capColours = [] {
        std::set<std::uint32_t> all = Colours(SliderLeftCapArt());
        const std::set<std::uint32_t> right = Colours(SliderRightCapArt());
        all.insert(right.begin(), right.end());
        return all;
    }();
    const std::set<std::uint32_t> fillColours = Colours(SliderFillArt(kSliderDefaultForeColor));
    for (const int dpi : {120, 144, 192}) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        for (const std::uint32_t c : Colours(SliderLeftCapArt(dpi)))
            EXPECT_TRUE(capColours.count(c)) << std::hex << c;
        for (const std::uint32_t c : Colours(SliderRightCapArt(dpi)))
            EXPECT_TRUE(capColours.count(c)) << std::hex << c;
        EXPECT_EQ(Colours(SliderFillArt(kSliderDefaultForeColor, dpi)), fillColours);
    }
    // At 192 DPI every design row becomes exactly two pixel rows.
    const SliderPicture at96 = SliderFillArt(kSliderDefaultForeColor, 96);
    const SliderPicture at192 = SliderFillArt(kSliderDefaultForeColor, 192);
    for (int y = 0; y < at192.height; ++y)
        EXPECT_EQ(at192.At(0, y), at96.At(0, y / 2)) << "row " << y;
}

TEST(SliderAtDpi, HandleLinesKeepTheirPhysicalWidth) {
    const SliderPicture h96 = SliderHandleArt(96), h192 = SliderHandleArt(192);
    const SliderPicture h120 = SliderHandleArt(120);
    // Outline and lit edge one pixel each at 96 and 120, two at 192: the same rows in inches.
    for (const auto& [p, line] : {std::pair{&h96, 1}, std::pair{&h120, 1}, std::pair{&h192, 2}}) {
        const int mid = p->width / 4;
        for (int y = 0; y < line; ++y)
            EXPECT_EQ(p->At(mid, y), 0x00404040u) << "outline row " << y;
        for (int y = line; y < 2 * line; ++y)
            EXPECT_EQ(p->At(mid, y), 0x00FFFFFFu) << "lit row " << y;
        EXPECT_NE(p->At(mid, 2 * line), 0x00FFFFFFu) << "face below the lit edge";
    }
    // The grip at 192: three dark double lines, the middle one at the centre.
    const int centre = h192.width / 2;
    EXPECT_EQ(h192.At(centre, 10), 0x00707070u);
    EXPECT_EQ(h192.At(centre + 1, 10), 0x00707070u);
    EXPECT_EQ(h192.At(centre + 2, 10), 0x00FFFFFFu);
    EXPECT_EQ(h192.At(centre - 6, 10), 0x00707070u);
    EXPECT_EQ(h192.At(centre + 6, 10), 0x00707070u);
}

TEST(ScalePanelAtDpi, PanelAndChildrenScaleAndStayAsDesignedAt96) {
    const ScalePanelGeometry g96 = ScalePanelGeometryForDpi(96);
    EXPECT_EQ(g96.width, 300);
    EXPECT_EQ(g96.height, 105);
    EXPECT_EQ(g96.heightReserve, 125);
    EXPECT_EQ(Lengths(g96.percentLabel), (std::vector<int>{120, 8, 21, 16}));
    EXPECT_EQ(Lengths(g96.slider), (std::vector<int>{8, 32, 285, 20}));
    EXPECT_EQ(Lengths(g96.equalsLabel), (std::vector<int>{8, 56, 185, 41}));
    EXPECT_EQ(Lengths(g96.closeButton), (std::vector<int>{200, 64, 80, 28}));

    const ScalePanelGeometry g144 = ScalePanelGeometryForDpi(144);
    EXPECT_EQ(g144.width, 450);
    EXPECT_EQ(g144.height, 158);
    EXPECT_EQ(g144.heightReserve, 188);
    EXPECT_EQ(Lengths(g144.percentLabel), (std::vector<int>{180, 12, 32, 24}));
    EXPECT_EQ(Lengths(g144.slider), (std::vector<int>{12, 48, 428, 30}));
    EXPECT_EQ(Lengths(g144.equalsLabel), (std::vector<int>{12, 84, 278, 62}));
    EXPECT_EQ(Lengths(g144.closeButton), (std::vector<int>{300, 96, 120, 42}));

    const ScalePanelGeometry g120 = ScalePanelGeometryForDpi(120);
    EXPECT_EQ(g120.width, 375);
    EXPECT_EQ(g120.height, 131);
    EXPECT_EQ(Lengths(g120.slider), (std::vector<int>{10, 40, 356, 25}));

    const ScalePanelGeometry g192 = ScalePanelGeometryForDpi(192);
    EXPECT_EQ(g192.width, 600);
    EXPECT_EQ(g192.heightReserve, 250);
    EXPECT_EQ(Lengths(g192.closeButton), (std::vector<int>{400, 128, 160, 56}));

    // The slider's place is a size the slider keeps: nothing is snapped on creation.
    for (const int dpi : kDpis) {
        const ScalePanelGeometry g = ScalePanelGeometryForDpi(dpi);
        const SliderSize kept =
            SliderLimitSize({g.slider.width, g.slider.height}, SliderMetricsForDpi(dpi));
        EXPECT_EQ(kept, (SliderSize{g.slider.width, g.slider.height})) << "dpi " << dpi;
        EXPECT_LE(g.slider.left + g.slider.width, g.width) << "dpi " << dpi;
    }
}

TEST(ScalePanelAtDpi, PercentageRidesAboveTheKnobAtEveryScale) {
    EXPECT_FLOAT_EQ(PercentLabelLeft(1, 96), 17.5f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(10, 96), 130.0f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(20, 96), 255.0f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(10, 144), 195.0f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(20, 120), 318.75f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(1, 192), 35.0f);
    EXPECT_FLOAT_EQ(PercentLabelLeft(10, 0), 130.0f) << "a failed DPI query counts as 96";
    // The label's left edge keeps the same distance to the knob's left edge, scaled.
    for (const int dpi : kDpis) {
        const ScalePanelGeometry g = ScalePanelGeometryForDpi(dpi);
        const auto knob = SliderHandleLeft(g.slider.width, 10, 1, 20, SliderMetricsForDpi(dpi));
        ASSERT_TRUE(knob);
        const double gap = g.slider.left + *knob - PercentLabelLeft(10, dpi);
        EXPECT_NEAR(gap, 3.0 * dpi / 96, 2.5) << "dpi " << dpi;
    }
}

TEST(ScalePanelAtDpi, WidenedPanelLeavesTheScaledReserveAndRescalesBothWays) {
    // At 144 DPI the window grows to 4800 x 4000 twips at 10 twips per pixel.
    EXPECT_TRUE(ScalePanelNeedsLargerWindow(320 * 10, 240 * 10));
    EXPECT_FALSE(ScalePanelNeedsLargerWindow(481 * 10, 240 * 10));
    EXPECT_EQ(WidenedScalePanel(464, 350, 158.0f, 144), (PanelRect{0.0f, 96.0f, 464.0f, 162.0f}));
    EXPECT_EQ(WidenedScalePanel(304, 228, 105.0f), (PanelRect{0.0f, 61.5f, 304.0f, 103.0f}));

    const PanelRect at96{2.0f, 61.5f, 304.0f, 103.0f};
    const PanelRect at144 = RescaledScalePanel(at96, 96, 144);
    EXPECT_EQ(at144, (PanelRect{3.0f, 92.25f, 456.0f, 154.5f}));
    EXPECT_EQ(RescaledScalePanel(at144, 144, 96), at96);
    EXPECT_EQ(RescaledScalePanel(at96, 96, 0), at96) << "a failed DPI query changes nothing";
}

TEST(UpdatePromptAtDpi, OffsetIsFiveHundredTwipsAtTheRealTwipsPerPixel) {
    struct Case {
        int dpi, offset;
    };
    // 500 twips: 33.3 pixels at 96 DPI, 41.7 at 120, 50 at 144, 62.5 at 192 (8 twips, half to
    // even).
    for (const Case c : {Case{96, 33}, Case{120, 42}, Case{144, 50}, Case{192, 62}}) {
        const std::int16_t tpp = TwipsPerPixelForDpi(c.dpi);
        const Point at = PlacePrompt(-1000, 200, tpp, tpp);
        EXPECT_EQ(at.x, -1000 + c.offset) << "dpi " << c.dpi;
        EXPECT_EQ(at.y, 200 + c.offset) << "dpi " << c.dpi;
    }
}

TEST(UpdatePromptAtDpi, ClientAndControlsScaleAndFitAtEveryDpi) {
    const PromptGeometry g96 = PromptGeometryForDpi(96);
    EXPECT_EQ(g96.clientWidth, 304);
    EXPECT_EQ(g96.clientHeight, 172);
    EXPECT_EQ(Lengths(g96.image), (std::vector<int>{0, 0, 32, 32}));
    EXPECT_EQ(Lengths(g96.label), (std::vector<int>{32, 24, 241, 81}));
    EXPECT_EQ(Lengths(g96.yes), (std::vector<int>{140, 130, 70, 30}));
    EXPECT_EQ(Lengths(g96.no), (std::vector<int>{220, 130, 70, 30}));

    const PromptGeometry g144 = PromptGeometryForDpi(144);
    EXPECT_EQ(g144.clientWidth, 456);
    EXPECT_EQ(g144.clientHeight, 258);
    EXPECT_EQ(Lengths(g144.image), (std::vector<int>{0, 0, 48, 48}));
    EXPECT_EQ(Lengths(g144.label), (std::vector<int>{48, 36, 362, 122}));
    EXPECT_EQ(Lengths(g144.yes), (std::vector<int>{210, 195, 105, 45}));
    EXPECT_EQ(Lengths(g144.no), (std::vector<int>{330, 195, 105, 45}));

    for (const int dpi : kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const PromptGeometry g = PromptGeometryForDpi(dpi);
        for (const Box& b : {g.image, g.label, g.yes, g.no}) {
            EXPECT_LE(b.left + b.width, g.clientWidth);
            EXPECT_LE(b.top + b.height, g.clientHeight);
        }
        // The buttons never overlap, whatever the rounding.
        EXPECT_LT(g.yes.left + g.yes.width, g.no.left);
    }
}
