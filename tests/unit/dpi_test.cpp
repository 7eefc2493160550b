#include "base/dpi.h"
#include "capture/capture_geometry.h"
#include "frame/main_layout.h"
#include "menus/menu_model.h"
#include "menus/menu_placement.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(DpiScaling, LengthsRoundToTheNearestPixelHalvesAwayFromZero) {
    EXPECT_EQ(ScaleForDpi(6, 96), 6);
    EXPECT_EQ(ScaleForDpi(6, 120), 8); // 7.5
    EXPECT_EQ(ScaleForDpi(1, 120), 1); // 1.25
    EXPECT_EQ(ScaleForDpi(2, 120), 3); // 2.5
    EXPECT_EQ(ScaleForDpi(3, 144), 5); // 4.5
    EXPECT_EQ(ScaleForDpi(19, 144), 29);
    EXPECT_EQ(ScaleForDpi(6, 192), 12);
    EXPECT_EQ(ScaleForDpi(-6, 120), -8);
    EXPECT_EQ(ScaleForDpi(0, 192), 0);
    // A failed DPI query counts as the design DPI; large lengths do not overflow.
    EXPECT_EQ(ScaleForDpi(6, 0), 6);
    EXPECT_EQ(ScaleForDpi(6, -144), 6);
    EXPECT_EQ(ScaleForDpi(1000000000, 192), 2000000000);
}

// System fonts come at the screen's DPI on older systems; brought back to 96
// they must give the size the program then scales by its window's DPI.
TEST(DpiScaling, LengthsGoBackToTheDesignDpi) {
    EXPECT_EQ(LengthAtDesignDpi(-17, 144), -11); // the menu font at 150 %
    EXPECT_EQ(LengthAtDesignDpi(-15, 120), -12);
    EXPECT_EQ(LengthAtDesignDpi(-22, 192), -11);
    EXPECT_EQ(LengthAtDesignDpi(-11, 0), -11);
    for (const int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int length = -40; length <= 40; ++length)
            EXPECT_EQ(LengthAtDesignDpi(ScaleForDpi(length, dpi), dpi), length)
                << length << "@" << dpi;
}

TEST(DpiScaling, TwipsPerPixelFollowTheDpi) {
    EXPECT_EQ(TwipsPerPixelForDpi(96), 15);
    EXPECT_EQ(TwipsPerPixelForDpi(120), 12);
    EXPECT_EQ(TwipsPerPixelForDpi(144), 10);
    EXPECT_EQ(TwipsPerPixelForDpi(192), 8); // 7.5, half to even
    EXPECT_EQ(TwipsPerPixelForDpi(0), 15);
    // An absurd DPI still gives a usable divisor.
    EXPECT_EQ(TwipsPerPixelForDpi(5000), 1);
}

namespace {

struct LayoutCase {
    int dpi;
    int clientWidth, clientHeight, menuBarHeight, labelWidth, labelHeight;
    float labelTop;
    int labelLeft;
    Box wholeScreenBox, seeThroughArea, capture;
    Outline outline;
};

class MainLayoutAtDpi : public ::testing::TestWithParam<LayoutCase> {};

} // namespace

TEST_P(MainLayoutAtDpi, MarginsGapsOutlineAndCaptureBorderScale) {
    const LayoutCase& c = GetParam();
    const MainLayout l = ComputeMainLayout(c.clientWidth, c.clientHeight, c.menuBarHeight,
                                           c.labelWidth, c.labelHeight, c.dpi);
    EXPECT_EQ(l.strip, (Box{0, 0, c.clientWidth, c.menuBarHeight}));
    EXPECT_FLOAT_EQ(l.optionsLabelTop, c.labelTop);
    EXPECT_EQ(l.optionsLabelLeft, c.labelLeft);
    ASSERT_TRUE(l.wholeScreenBox);
    EXPECT_EQ(*l.wholeScreenBox, c.wholeScreenBox);
    ASSERT_TRUE(l.seeThroughArea);
    EXPECT_EQ(*l.seeThroughArea, c.seeThroughArea);
    EXPECT_EQ(FrameCaptureArea(*l.seeThroughArea, c.dpi), c.capture);

    const Outline o = SeeThroughOutline(l.seeThroughArea->width, l.seeThroughArea->height, c.dpi);
    EXPECT_EQ(o.x1, c.outline.x1);
    EXPECT_EQ(o.y1, c.outline.y1);
    EXPECT_EQ(o.x2, c.outline.x2);
    EXPECT_EQ(o.y2, c.outline.y2);

    // The capture starts and ends strictly inside the one-pixel outline.
    const Box& area = *l.seeThroughArea;
    EXPECT_GT(c.capture.left, area.left + o.x1);
    EXPECT_GT(c.capture.top, area.top + o.y1);
    EXPECT_LT(c.capture.left + c.capture.width, area.left + o.x2);
    EXPECT_LT(c.capture.top + c.capture.height, area.top + o.y2);

    EXPECT_EQ(FrameCaptureArea(area, c.dpi), c.capture);
}

// The designed 304 x 228 client at each scale, with the strip height the system
// reports there and a label measured in the scaled menu font.
INSTANTIATE_TEST_SUITE_P(
    DesignedWindow, MainLayoutAtDpi,
    ::testing::Values(
        LayoutCase{96, 304, 228, 19, 40, 16, 1.5f, 10, Box{60, 1, 244, 16}, Box{6, 25, 292, 197},
                   Box{8, 27, 288, 193}, Outline{1, 1, 291, 196}},
        LayoutCase{120, 380, 285, 24, 50, 20, 2.0f, 13, Box{75, 2, 305, 20}, Box{8, 32, 364, 245},
                   Box{11, 35, 358, 239}, Outline{1, 1, 363, 244}},
        LayoutCase{144, 456, 342, 28, 60, 24, 2.0f, 15, Box{90, 2, 366, 24}, Box{9, 37, 438, 296},
                   Box{12, 40, 432, 290}, Outline{2, 2, 436, 294}},
        LayoutCase{192, 608, 456, 38, 80, 32, 3.0f, 20, Box{120, 3, 488, 32}, Box{12, 50, 584, 394},
                   Box{16, 54, 576, 386}, Outline{2, 2, 582, 392}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) {
        return "Dpi" + std::to_string(info.param.dpi);
    });

TEST(MainLayoutAtDpi, TooSmallLimitsFollowTheScaledMargins) {
    // At 144 DPI the area needs 18 pixels of width and strip + 18 of height.
    EXPECT_TRUE(ComputeMainLayout(18, 46, 28, 60, 24, 144).seeThroughArea);
    EXPECT_FALSE(ComputeMainLayout(17, 200, 28, 60, 24, 144).seeThroughArea);
    EXPECT_FALSE(ComputeMainLayout(200, 45, 28, 60, 24, 144).seeThroughArea);
    // The check box needs the label plus the scaled 30-pixel gap.
    EXPECT_TRUE(ComputeMainLayout(90, 100, 28, 60, 24, 144).wholeScreenBox);
    EXPECT_FALSE(ComputeMainLayout(89, 100, 28, 60, 24, 144).wholeScreenBox);
}

namespace {

using menus::MenuMetrics;

std::vector<int> Lengths(const MenuMetrics& m) {
    return {m.firstRowTop,    m.checkWidth,        m.arrowWidth,        m.arrowDrop,
            m.separatorGap,   m.greyLineBelow,     m.whiteLineBelow,    m.widthPadding,
            m.heightPadding,  m.highlightOverhang, m.submenuOverlap,    m.optionsLabelOffset,
            m.frameThickness, m.designClientWidth, m.designClientHeight};
}

} // namespace

TEST(MenuMetricsAtDpi, NinetySixKeepsTheDesignAndDoubleDpiDoublesEveryLength) {
    EXPECT_EQ(Lengths(menus::ScaledMenuMetrics(96)), Lengths(menus::kMenuMetrics));
    std::vector<int> doubled = Lengths(menus::kMenuMetrics);
    for (int& length : doubled)
        length *= 2;
    EXPECT_EQ(Lengths(menus::ScaledMenuMetrics(192)), doubled);
    EXPECT_DOUBLE_EQ(menus::ScaledMenuMetrics(192).japaneseWidening, 1.3);

    const MenuMetrics at120 = menus::ScaledMenuMetrics(120);
    EXPECT_EQ(Lengths(at120),
              (std::vector<int>{4, 25, 25, 5, 10, 3, 4, 63, 4, 3, 3, 8, 1, 380, 253}));
}

namespace {

// A menu with a separator below its first row, measured at 100 pixels a text.
menus::MenuLayout BuildAt(int dpi, int itemHeight) {
    menus::MenuBuild build;
    build.items = {L"Copy=", L"Formats>"};
    build.measureText = [](const std::wstring&) { return 100; };
    build.itemHeight = itemHeight;
    build.twipsPerPixelX = TwipsPerPixelForDpi(dpi);
    build.twipsPerPixelY = TwipsPerPixelForDpi(dpi);
    build.metrics = menus::ScaledMenuMetrics(dpi);
    return menus::LayoutMenu(build);
}

} // namespace

TEST(MenuMetricsAtDpi, MenuSizesAndRowOffsetsScale) {
    struct Case {
        int dpi, itemHeight, outerWidth, outerHeight, secondRowTop, checkWidth, greyLine;
    };
    for (const Case c : {Case{96, 19, 150, 52, 30, 20, 24}, Case{120, 24, 163, 66, 38, 25, 31},
                         Case{144, 28, 175, 78, 45, 30, 36}, Case{192, 38, 200, 104, 60, 40, 48}}) {
        SCOPED_TRACE("dpi " + std::to_string(c.dpi));
        const menus::MenuLayout l = BuildAt(c.dpi, c.itemHeight);
        EXPECT_EQ(l.outerWidth, c.outerWidth);
        EXPECT_EQ(l.outerHeight, c.outerHeight);
        ASSERT_EQ(l.rows.size(), 2u);
        EXPECT_EQ(l.rows[1].top, c.secondRowTop);
        EXPECT_EQ(l.rows[0].check.width, c.checkWidth);
        EXPECT_EQ(l.rows[1].text.left, c.checkWidth);
        ASSERT_TRUE(l.rows[0].greyLineY);
        EXPECT_EQ(*l.rows[0].greyLineY, c.greyLine);
        EXPECT_EQ(menus::RowOffset(l, 1), c.secondRowTop - l.rows[0].top);
    }
}

TEST(MenuMetricsAtDpi, MenusOpenAtScaledOffsets) {
    const MenuMetrics at144 = menus::ScaledMenuMetrics(144);
    // The first level opens 9 pixels left of the label (15 at 144 DPI), at the strip's foot.
    EXPECT_EQ(menus::FirstLevelCorner(15, 28, at144), (Point{6, 28}));
    EXPECT_EQ(menus::FirstLevelCorner(10, 19), (Point{4, 19}));

    const Box work{0, 0, 1920, 1080};
    const Box parent{100, 100, 175, 78};
    EXPECT_EQ(menus::SubmenuCorner(parent, 40, 120, 60, work, at144), (Point{272, 140}));
    // Opening to the left overlaps the parent's left edge by the same scaled amount.
    const Box nearRight{1700, 100, 175, 78};
    EXPECT_EQ(menus::SubmenuCorner(nearRight, 40, 120, 60, work, at144), (Point{1583, 140}));
}
