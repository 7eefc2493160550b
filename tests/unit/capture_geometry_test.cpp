#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace qorvic;

// Whole-screen captures span every monitor from the virtual screen's origin and
// nothing beyond: some monitor touches each edge.
TEST(WholeScreenOverMonitors, CoversEveryMonitorFromTheVirtualOrigin) {
    const std::vector<std::vector<Box>> layouts = {
        {{0, 0, 1920, 1080}},
        {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}},
        {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}},
        {{0, 0, 1920, 1080}, {0, -1200, 1920, 1200}},
        // A 4K primary at 200 % beside a 1080p monitor at 100 %, in physical pixels.
        {{0, 0, 3840, 2160}, {-1920, 1080, 1920, 1080}},
        {{0, 0, 1920, 1080}, {640, 1080, 2880, 1800}, {-2560, -400, 2560, 1440}},
    };
    for (const auto& monitors : layouts) {
        const Box v = VirtualScreenOf(monitors);
        const Box capture = WholeScreenArea(v.left, v.top, v.width, v.height);
        bool left = false, top = false, right = false, bottom = false;
        for (const Box& m : monitors) {
            SCOPED_TRACE("monitor at " + std::to_string(m.left) + "," + std::to_string(m.top));
            EXPECT_LE(capture.left, m.left);
            EXPECT_LE(capture.top, m.top);
            EXPECT_GE(capture.left + capture.width, m.left + m.width);
            EXPECT_GE(capture.top + capture.height, m.top + m.height);
            left |= m.left == capture.left;
            top |= m.top == capture.top;
            right |= m.left + m.width == capture.left + capture.width;
            bottom |= m.top + m.height == capture.top + capture.height;
        }
        EXPECT_TRUE(left && top && right && bottom);
    }
}

TEST(VirtualScreen, EmptyNegativeOrHugeMonitorsGiveNoNegativeOrWrappedArea) {
    EXPECT_EQ(VirtualScreenOf({}).width, 0);
    // A monitor reported with a negative size adds only its corner.
    const Box corner = VirtualScreenOf({{0, 0, 800, 600}, {-100, 0, -50, 600}});
    EXPECT_EQ(corner.left, -100);
    EXPECT_EQ(corner.width, 900);
    const Box broken = WholeScreenArea(-10, -10, -1, -1);
    EXPECT_EQ(broken.width, 0);
    EXPECT_EQ(broken.height, 0);
    const Box far = VirtualScreenOf({{-2000000000, 0, 100, 100}, {2000000000, 0, 100, 100}});
    EXPECT_EQ(far.left, -2000000000);
    EXPECT_EQ(far.width, std::numeric_limits<int>::max());
}

TEST(CaptureGeometry, AreaThinnerThanItsBorderCapturesNothing) {
    const Box source = FrameCaptureArea(Box{6, 25, 3, 0});
    EXPECT_EQ(source.width, 0);
    EXPECT_EQ(source.height, 0);
}

TEST(CaptureGeometry, OutputScalesByTenthsRoundingHalvesToEven) {
    const struct {
        int w, h, tenths, scaledW, scaledH;
    } cases[] = {
        {288, 193, 10, 288, 193}, {288, 193, 20, 576, 386},
        {288, 193, 5, 144, 96},   {288, 195, 5, 144, 98}, // 96.5 and 97.5
        {1, 1, 1, 1, 1},                                  // never below one pixel
        {0, 100, 10, 0, 0},       {100, -3, 10, 0, 0},
    };
    for (const auto& c : cases) {
        const auto scaled = ScaledSize(c.w, c.h, c.tenths);
        EXPECT_EQ(scaled.width, c.scaledW) << c.w << " x " << c.h << " at " << c.tenths;
        EXPECT_EQ(scaled.height, c.scaledH) << c.w << " x " << c.h << " at " << c.tenths;
    }
}
