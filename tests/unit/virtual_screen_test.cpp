#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace qorvic;

namespace {

Rect AsRect(const CaptureSource& s) {
    return Rect{s.x, s.y, s.width, s.height};
}

struct MonitorLayout {
    const char* name;
    std::vector<CaptureSource> monitors; // the primary at (0, 0) first, physical pixels
    Rect virtualScreen;
};

class WholeScreenOverMonitors : public ::testing::TestWithParam<MonitorLayout> {};

} // namespace

TEST_P(WholeScreenOverMonitors, CoversEveryMonitorFromTheVirtualOrigin) {
    const MonitorLayout& layout = GetParam();
    const CaptureSource virtualScreen = VirtualScreenOf(layout.monitors);
    EXPECT_EQ(AsRect(virtualScreen), layout.virtualScreen);

    // The capture is taken from the metrics exactly as the system gives them.
    const CaptureSource capture = WholeScreenArea(virtualScreen.x, virtualScreen.y,
                                                  virtualScreen.width, virtualScreen.height);
    EXPECT_EQ(AsRect(capture), layout.virtualScreen);
    for (const CaptureSource& m : layout.monitors) {
        SCOPED_TRACE("monitor at " + std::to_string(m.x) + "," + std::to_string(m.y));
        EXPECT_LE(capture.x, m.x);
        EXPECT_LE(capture.y, m.y);
        EXPECT_GE(capture.x + capture.width, m.x + m.width);
        EXPECT_GE(capture.y + capture.height, m.y + m.height);
    }
    // Some monitor touches each edge: the picture holds nothing beyond the screens.
    bool left = false, top = false, right = false, bottom = false;
    for (const CaptureSource& m : layout.monitors) {
        left |= m.x == capture.x;
        top |= m.y == capture.y;
        right |= m.x + m.width == capture.x + capture.width;
        bottom |= m.y + m.height == capture.y + capture.height;
    }
    EXPECT_TRUE(left && top && right && bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WholeScreenOverMonitors,
    ::testing::Values(
        MonitorLayout{"Single", {{0, 0, 1920, 1080}}, Rect{0, 0, 1920, 1080}},
        MonitorLayout{
            "SideBySide", {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}, Rect{0, 0, 3840, 1080}},
        MonitorLayout{"LeftOfThePrimary",
                      {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}},
                      Rect{-1280, 0, 3200, 1080}},
        MonitorLayout{"AboveThePrimary",
                      {{0, 0, 1920, 1080}, {0, -1200, 1920, 1200}},
                      Rect{0, -1200, 1920, 2280}},
        MonitorLayout{"LeftAndAboveWithAnOffset",
                      {{0, 0, 2560, 1440}, {-1920, -300, 1920, 1080}},
                      Rect{-1920, -300, 4480, 1740}},
        // A 4K primary at 200 % beside a 1080p monitor at 100 %: the system gives
        // both in physical pixels, so the left one is 1920 wide, not 960.
        MonitorLayout{"MixedDpiLeftAndLower",
                      {{0, 0, 3840, 2160}, {-1920, 1080, 1920, 1080}},
                      Rect{-1920, 0, 5760, 2160}},
        // A 150 % laptop panel below a 100 % monitor on a stand, off-centre.
        MonitorLayout{"MixedDpiBelowAndRight",
                      {{0, 0, 1920, 1080}, {640, 1080, 2880, 1800}, {-2560, -400, 2560, 1440}},
                      Rect{-2560, -400, 6080, 3280}}),
    [](const ::testing::TestParamInfo<MonitorLayout>& info) { return info.param.name; });

TEST(VirtualScreen, NoMonitorsOrEmptyOnesGiveNoArea) {
    EXPECT_EQ(AsRect(VirtualScreenOf({})), (Rect{0, 0, 0, 0}));
    // A monitor reported with a negative size adds only its corner.
    EXPECT_EQ(AsRect(VirtualScreenOf({{0, 0, 800, 600}, {-100, 0, -50, 600}})),
              (Rect{-100, 0, 900, 600}));
    // Metrics that came back negative never become a negative capture size.
    const CaptureSource broken = WholeScreenArea(-10, -10, -1, -1);
    EXPECT_EQ(broken.width, 0);
    EXPECT_EQ(broken.height, 0);
}

TEST(VirtualScreen, FarEdgesBeyondIntegerRangeAreLimited) {
    const CaptureSource s =
        VirtualScreenOf({{-2000000000, 0, 100, 100}, {2000000000, 0, 100, 100}});
    EXPECT_EQ(s.x, -2000000000);
    EXPECT_EQ(s.width, std::numeric_limits<int>::max());
}
