#include "base/dpi.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(DpiScaling, LengthsRoundToTheNearestPixelHalvesAwayFromZero) {
    const struct {
        int length, dpi, scaled;
    } cases[] = {
        {6, 96, 6},
        {6, 120, 8},
        {1, 120, 1},
        {2, 120, 3},
        {3, 144, 5},
        {-6, 120, -8},
        {-2, 120, -3},
        {0, 192, 0},
        // A failed DPI query counts as the design DPI; large lengths do not overflow.
        {6, 0, 6},
        {6, -144, 6},
        {1000000000, 192, 2000000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleForDpi(c.length, c.dpi), c.scaled) << c.length << "@" << c.dpi;
}

// System fonts come at the screen's DPI on older systems; brought back to 96
// they must give the size the program then scales by its window's DPI.
TEST(DpiScaling, LengthsGoBackToTheDesignDpi) {
    EXPECT_EQ(LengthAtDesignDpi(-11, 0), -11);
    for (const int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int length = -40; length <= 40; ++length)
            EXPECT_EQ(LengthAtDesignDpi(ScaleForDpi(length, dpi), dpi), length)
                << length << "@" << dpi;
}

TEST(DpiScaling, TwipsPerPixelFollowTheDpi) {
    const std::pair<int, int> cases[] = {
        {96, 15}, {120, 12}, {144, 10}, {192, 8}, // 7.5, half to even
        {0, 15},  {5000, 1},                      // an absurd DPI still gives a divisor
    };
    for (const auto& [dpi, twips] : cases)
        EXPECT_EQ(TwipsPerPixelForDpi(dpi), twips) << dpi;
}
