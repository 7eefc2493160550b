#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

using namespace qorvic;

// The designed frame's two-pixel border at each DPI is pinned in dpi_test.cpp.
TEST(CaptureGeometry, ThinFrameAreaCapturesNothingWholeScreenStartsAtTheOrigin) {
    // An area thinner than its border captures nothing rather than a negative size.
    EXPECT_EQ(FrameCaptureArea(Box{6, 25, 3, 0}), (Box{8, 27, 0, 0}));

    EXPECT_EQ(WholeScreenArea(-1920, -200, 3840, 1280), (Box{-1920, -200, 3840, 1280}));
}

TEST(CaptureGeometry, OutputScalesByTenthsRoundingHalvesToEven) {
    const struct {
        int w, h, tenths;
        Size scaled;
    } cases[] = {
        {288, 193, 10, {288, 193}}, {288, 193, 20, {576, 386}},
        {288, 193, 5, {144, 96}},   {288, 195, 5, {144, 98}}, // 96.5 and 97.5
        {288, 193, 1, {29, 19}},    {3840, 2160, 20, {7680, 4320}},
        {1, 1, 1, {1, 1}}, // never below one pixel
        {0, 100, 10, {0, 0}},       {100, -3, 10, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaledSize(c.w, c.h, c.tenths), c.scaled)
            << c.w << " x " << c.h << " at " << c.tenths;
}
