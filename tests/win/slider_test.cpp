#include "base/handles_win.h"
#include "base/window_win.h"
#include "controls/slider_win.h"

#include <gtest/gtest.h>

using namespace qorvic;

namespace {

class Host : public Window {
public:
    Host() {
        CreateWin({.className = L"QorvicSliderTestHost",
                   .title = L"slider host",
                   .style = WS_POPUP | WS_VISIBLE,
                   .x = 40,
                   .y = 40,
                   .width = 320,
                   .height = 80,
                   .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    }
};

// The panel's slider: 285 x 20, range 1 to 20, value 10, set in the host's order.
struct ScaleSliderFixture : ::testing::Test {
    Host host;
    Slider slider;
    int changes = 0;
    int clicks = 0;

    void SetUp() override {
        ASSERT_NE(host.hwnd(), nullptr);
        ASSERT_TRUE(slider.Create(host.hwnd(), 8, 32, 285, 20));
        slider.Change = [this] { ++changes; };
        slider.Click = [this] { ++clicks; };
        slider.SetMax(20);
        slider.SetMin(1);
        slider.SetValue(10);
        changes = 0;
    }

    void Send(UINT msg, WPARAM buttons, int x, int y = 10) {
        ::SendMessageW(slider.hwnd(), msg, buttons,
                       MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), y));
    }

    COLORREF ScreenPixel(int x, int y) {
        ::UpdateWindow(slider.hwnd());
        WindowDc dc(slider.hwnd());
        return ::GetPixel(dc.get(), x, y);
    }
};

} // namespace

TEST_F(ScaleSliderFixture, OnlyALeftDragMovesTheValueAndEveryStepRaisesChange) {
    EXPECT_EQ(slider.HandleLeft(), 125);
    for (WPARAM buttons : {WPARAM{0}, WPARAM{MK_RBUTTON}, WPARAM{MK_LBUTTON | MK_RBUTTON}})
        Send(WM_MOUSEMOVE, buttons, 260);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 100);
    Send(WM_RBUTTONUP, 0, 100);
    EXPECT_EQ(clicks, 0) << "only the left button clicks";
    EXPECT_EQ(slider.Value(), 10);
    EXPECT_EQ(changes, 0);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 135);
    EXPECT_EQ(slider.Value(), 10) << "a press alone changes nothing";
    EXPECT_EQ(changes, 0);

    Send(WM_MOUSEMOVE, MK_LBUTTON, 260);
    EXPECT_EQ(slider.Value(), 20);
    EXPECT_EQ(slider.HandleLeft(), 251);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 262);
    EXPECT_EQ(slider.Value(), 20);
    Send(WM_MOUSEMOVE, MK_LBUTTON, -60); // outside, still captured
    EXPECT_EQ(slider.Value(), 1);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 19);
    EXPECT_EQ(slider.Value(), 1);
    EXPECT_EQ(changes, 4);

    Send(WM_LBUTTONUP, 0, 19);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ScaleSliderFixture, GrooveShowsForeColourLeftAndBackColourRightOfTheHandle) {
    // The host stores nothing, so the defaults were applied: olive left, black right.
    EXPECT_EQ(ScreenPixel(60, 9), RGB(200, 200, 0));
    EXPECT_EQ(ScreenPixel(200, 9), RGB(0, 0, 0));
    const COLORREF lipAbove = ScreenPixel(60, 5);
    const COLORREF lipBelow = ScreenPixel(60, 13);
    EXPECT_NE(lipAbove, RGB(200, 200, 0));
    EXPECT_NE(lipBelow, lipAbove) << "dark lip above, light lip below";
    // The handle lies over the groove at 125..143, rows 4..13.
    EXPECT_NE(ScreenPixel(128, 9), RGB(200, 200, 0));
    EXPECT_NE(ScreenPixel(128, 9), RGB(0, 0, 0));

    slider.SetForeColor(RGB(0, 0, 255));
    slider.SetBackColor(RGB(255, 255, 255));
    EXPECT_EQ(changes, 2);
    for (int y = 6; y <= 12; ++y) {
        EXPECT_EQ(ScreenPixel(60, y), RGB(0, 0, 255)) << "row " << y;
        EXPECT_EQ(ScreenPixel(200, y), RGB(255, 255, 255)) << "row " << y;
    }
    EXPECT_EQ(ScreenPixel(60, 5), lipAbove) << "bevel rows keep their designed shade";
    EXPECT_EQ(ScreenPixel(60, 13), lipBelow);

    // Moving the handle moves the boundary between the colours.
    slider.SetValue(20);
    EXPECT_EQ(ScreenPixel(200, 9), RGB(0, 0, 255));
    slider.SetValue(1);
    EXPECT_EQ(ScreenPixel(60, 9), RGB(255, 255, 255));
}

TEST_F(ScaleSliderFixture, SizeIsHeldToAtLeast63By20) {
    slider.Move(8, 32, 40, 50);
    EXPECT_EQ(slider.Width(), 63);
    EXPECT_EQ(slider.Height(), 20);
    ::MoveWindow(slider.hwnd(), 8, 32, 200, 5, TRUE);
    EXPECT_EQ(slider.Width(), 200);
    EXPECT_EQ(slider.Height(), 20);
    EXPECT_EQ(slider.HandleLeft(), *SliderHandleLeft(200, 10, 1, 20)) << "redrawn at the new width";
}

TEST(SliderStored, StoredValueIsLimitedByTheRangeInForceWhenRead) {
    Host host;
    Slider slider;
    ASSERT_TRUE(slider.Create(host.hwnd(), 0, 0, 285, 20, {{"Value", 15}, {"Max", 20}}));
    EXPECT_EQ(slider.Max(), 20);
    EXPECT_EQ(slider.Value(), 10);
    EXPECT_EQ(slider.WriteProperties(), (StoredProperties{{"Value", 10}, {"Max", 20}}));
}
