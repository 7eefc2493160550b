#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(CaptureGeometry, FrameAreaLeavesATwoPixelBorder) {
    const CaptureSource s = FrameCaptureArea(Rect{6, 25, 292, 197});
    EXPECT_EQ(s.x, 8);
    EXPECT_EQ(s.y, 27);
    EXPECT_EQ(s.width, 288);
    EXPECT_EQ(s.height, 193);
    // An area thinner than its border captures nothing rather than a negative size.
    const CaptureSource thin = FrameCaptureArea(Rect{6, 25, 3, 0});
    EXPECT_EQ(thin.width, 0);
    EXPECT_EQ(thin.height, 0);
}

TEST(CaptureGeometry, WholeScreenStartsAtTheVirtualScreensOrigin) {
    const CaptureSource s = WholeScreenArea(-1920, -200, 3840, 1280);
    EXPECT_EQ(s.x, -1920);
    EXPECT_EQ(s.y, -200);
    EXPECT_EQ(s.width, 3840);
    EXPECT_EQ(s.height, 1280);
}

TEST(CaptureGeometry, OutputScalesByTenths) {
    EXPECT_EQ(ScaledSize(288, 193, 10), (PictureSize{288, 193}));
    EXPECT_EQ(ScaledSize(288, 193, 20), (PictureSize{576, 386}));
    EXPECT_EQ(ScaledSize(288, 193, 5), (PictureSize{144, 96})) << "96.5 rounds to even";
    EXPECT_EQ(ScaledSize(288, 195, 5), (PictureSize{144, 98})) << "97.5 rounds to even";
    EXPECT_EQ(ScaledSize(288, 193, 1), (PictureSize{29, 19}));
    EXPECT_EQ(ScaledSize(3840, 2160, 20), (PictureSize{7680, 4320}));
}

TEST(CaptureGeometry, TinyAndEmptyCaptures) {
    EXPECT_EQ(ScaledSize(1, 1, 1), (PictureSize{1, 1})) << "never below one pixel";
    EXPECT_EQ(ScaledSize(0, 100, 10), (PictureSize{0, 0}));
    EXPECT_EQ(ScaledSize(100, -3, 10), (PictureSize{0, 0}));
}
