#include "frame/main_layout.h"
#include "controls/menu_font.h"

#include <gtest/gtest.h>

using namespace qorvic;

// The designed window itself, at 96 DPI and above, is pinned in dpi_test.cpp.

TEST(MainLayout, LongerCaptionPushesTheCheckBoxRight) {
    const MainLayout l = ComputeMainLayout(304, 228, 19, 90, 16);
    ASSERT_TRUE(l.wholeScreenBox);
    EXPECT_EQ(l.wholeScreenBox->left, 110);
    EXPECT_EQ(l.wholeScreenBox->width, 194);
}

TEST(MainLayout, TooSmallWindowsLeaveControlsWhereTheyWere) {
    // Narrower than the label needs: the check box fails, the area still shrinks.
    MainLayout l = ComputeMainLayout(50, 100, 19, 40, 16);
    EXPECT_FALSE(l.wholeScreenBox);
    ASSERT_TRUE(l.seeThroughArea);
    EXPECT_EQ(l.seeThroughArea->width, 38);

    // Exactly 12 x (strip + 12) still places a zero-sized area.
    l = ComputeMainLayout(12, 31, 19, 40, 16);
    ASSERT_TRUE(l.seeThroughArea);
    EXPECT_EQ(*l.seeThroughArea, (Box{6, 25, 0, 0}));

    EXPECT_FALSE(ComputeMainLayout(11, 200, 19, 40, 16).seeThroughArea);
    EXPECT_FALSE(ComputeMainLayout(200, 30, 19, 40, 16).seeThroughArea);

    // Minimised: nothing but the strip picture moves.
    l = ComputeMainLayout(0, 0, 19, 40, 16);
    EXPECT_FALSE(l.wholeScreenBox);
    EXPECT_FALSE(l.seeThroughArea);
    EXPECT_EQ(l.strip, (Box{0, 0, 0, 19}));
}

TEST(MenuFont, HeightsRoundHalvesToEven) {
    EXPECT_EQ(MenuFontFromLogFont(-12, 400, 0, L"Tahoma").size, 9.0f);
    EXPECT_EQ(MenuFontFromLogFont(-13, 400, 0, L"Tahoma").size, 10.0f); // 9.75
    EXPECT_EQ(MenuFontFromLogFont(-14, 400, 0, L"Tahoma").size, 10.0f); // 10.5
    EXPECT_EQ(MenuFontFromLogFont(-15, 400, 0, L"Tahoma").size, 11.0f); // 11.25
    EXPECT_EQ(MenuFontFromLogFont(-10, 400, 0, L"Tahoma").size, 8.0f);  // 7.5
    EXPECT_EQ(MenuFontFromLogFont(-100000, 400, 0, L"x").size, 32767.0f) << "clamps, no wrap";
}

TEST(MenuFont, WeightItalicAndName) {
    EXPECT_FALSE(MenuFontFromLogFont(-12, 400, 0, L"A").bold);
    EXPECT_TRUE(MenuFontFromLogFont(-12, 700, 0, L"A").bold);
    EXPECT_TRUE(MenuFontFromLogFont(-12, 300, 0, L"A").bold);
    EXPECT_TRUE(MenuFontFromLogFont(-12, 600, 0, L"A").bold);
    EXPECT_TRUE(MenuFontFromLogFont(-12, 400, 1, L"A").italic);
    EXPECT_TRUE(MenuFontFromLogFont(-12, 400, 255, L"A").italic);
    // A shorter name written over a longer one leaves its tail behind the NUL.
    const std::wstring overwritten(L"Tahoma\0l Dlg\0\0", 15);
    EXPECT_EQ(MenuFontFromLogFont(-11, 400, 0, overwritten).name, L"Tahoma");

    const ControlFont zero = MenuFontFromLogFont(0, 0, 0, std::wstring(32, L'\0'));
    EXPECT_EQ(zero.size, 0.0f);
    EXPECT_TRUE(zero.bold);
    EXPECT_FALSE(zero.italic);
    EXPECT_EQ(zero.name, L"");
}
