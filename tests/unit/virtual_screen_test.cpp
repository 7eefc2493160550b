#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace qorvic;

namespace {

struct MonitorLayout {
    const char* name;
    std::vector<Box> monitors; // the primary at (0, 0) first, physical pixels
    Box virtualScreen;
};

class WholeScreenOverMonitors : public ::testing::TestWithParam<MonitorLayout> {};

} // namespace

TEST_P(WholeScreenOverMonitors, CoversEveryMonitorFromTheVirtualOrigin) {
    const MonitorLayout& layout = GetParam();
    const Box virtualScreen = VirtualScreenOf(layout.monitors);
    EXPECT_EQ(virtualScreen, layout.virtualScreen);

    // The capture is taken from the metrics exactly as the system gives them.
    const Box capture = WholeScreenArea(virtualScreen.left, virtualScreen.top, virtualScreen.width,
                                        virtualScreen.height);
    EXPECT_EQ(capture, layout.virtualScreen);
    for (const Box& m : layout.monitors) {
        SCOPED_TRACE("monitor at " + std::to_string(m.left) + "," + std::to_string(m.top));
        EXPECT_LE(capture.left, m.left);
        EXPECT_LE(capture.top, m.top);
        EXPECT_GE(capture.right(), m.right());
        EXPECT_GE(capture.bottom(), m.bottom());
    }
    // Some monitor touches each edge: the picture holds nothing beyond the screens.
    bool left = false, top = false, right = false, bottom = false;
    for (const Box& m : layout.monitors) {
        left |= m.left == capture.left;
        top |= m.top == capture.top;
        right |= m.right() == capture.right();
        bottom |= m.bottom() == capture.bottom();
    }
    EXPECT_TRUE(left && top && right && bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WholeScreenOverMonitors,
    ::testing::Values(
        MonitorLayout{"Single", {{0, 0, 1920, 1080}}, Box{0, 0, 1920, 1080}},
        MonitorLayout{
            "SideBySide", {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}, Box{0, 0, 3840, 1080}},
        MonitorLayout{"LeftOfThePrimary",
                      {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}},
                      Box{-1280, 0, 3200, 1080}},
        MonitorLayout{"AboveThePrimary",
                      {{0, 0, 1920, 1080}, {0, -1200, 1920, 1200}},
                      Box{0, -1200, 1920, 2280}},
        MonitorLayout{"LeftAndAboveWithAnOffset",
                      {{0, 0, 2560, 1440}, {-1920, -300, 1920, 1080}},
                      Box{-1920, -300, 4480, 1740}},
        // A 4K primary at 200 % beside a 1080p monitor at 100 %: the system gives
        // both in physical pixels, so the left one is 1920 wide, not 960.
        MonitorLayout{"MixedDpiLeftAndLower",
                      {{0, 0, 3840, 2160}, {-1920, 1080, 1920, 1080}},
                      Box{-1920, 0, 5760, 2160}},
        // A 150 % laptop panel below a 100 % monitor on a stand, off-centre.
        MonitorLayout{"MixedDpiBelowAndRight",
                      {{0, 0, 1920, 1080}, {640, 1080, 2880, 1800}, {-2560, -400, 2560, 1440}},
                      Box{-2560, -400, 6080, 3280}}),
    [](const ::testing::TestParamInfo<MonitorLayout>& info) { return info.param.name; });

TEST(VirtualScreen, NoMonitorsOrEmptyOnesGiveNoArea) {
    EXPECT_EQ(VirtualScreenOf({}), (Box{0, 0, 0, 0}));
    // A monitor reported with a negative size adds only its corner.
    EXPECT_EQ(VirtualScreenOf({{0, 0, 800, 600}, {-100, 0, -50, 600}}), (Box{-100, 0, 900, 600}));
    // Metrics that came back negative never become a negative capture size.
    const Box broken = WholeScreenArea(-10, -10, -1, -1);
    EXPECT_EQ(broken.width, 0);
    EXPECT_EQ(broken.height, 0);
}

TEST(VirtualScreen, FarEdgesBeyondIntegerRangeAreLimited) {
    const Box s = VirtualScreenOf({{-2000000000, 0, 100, 100}, {2000000000, 0, 100, 100}});
    EXPECT_EQ(s.left, -2000000000);
    EXPECT_EQ(s.width, std::numeric_limits<int>::max());
}
