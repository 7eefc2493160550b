// The scaling panel on a stand-in main window: its size and place, how it
// grows a small window, the slider, the close button, and what it draws.
#include "base/window_win.h"
#include "frame/scale_panel_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// A stand-in for the main window: a framed top-level window sized in pixels.
class FakeForm : public Window {
public:
    FakeForm(int width, int height, DWORD style = WS_OVERLAPPEDWINDOW) {
        CreateWin({.className = L"QorvicScalePanelTestForm",
                   .title = L"form",
                   .style = style | WS_VISIBLE,
                   .exStyle = WS_EX_TOPMOST,
                   .x = 30,
                   .y = 30,
                   .width = width,
                   .height = height,
                   .background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)});
    }
    SIZE Outer() const {
        RECT rc{};
        ::GetWindowRect(hwnd(), &rc);
        return {rc.right - rc.left, rc.bottom - rc.top};
    }
    SIZE Client() const {
        RECT rc{};
        ::GetClientRect(hwnd(), &rc);
        return {rc.right, rc.bottom};
    }
};

RECT PanelInForm(const ScalePanel& panel) {
    RECT rc{};
    ::GetWindowRect(panel.hwnd(), &rc);
    ::MapWindowPoints(nullptr, ::GetParent(panel.hwnd()), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

} // namespace

TEST(ScalePanel, StartsHiddenAt300By105WithTheSliderAtOneHundredPercent) {
    FakeForm form(400, 300);
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    EXPECT_FALSE(panel.Visible());
    RECT rc = PanelInForm(panel);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 105);
    EXPECT_EQ(panel.slider.Min(), 1);
    EXPECT_EQ(panel.slider.Max(), 20);
    EXPECT_EQ(panel.slider.Value(), 10);
    EXPECT_EQ(panel.slider.Width(), 285);
    EXPECT_EQ(panel.ScaleStep(), 10);
    EXPECT_EQ(panel.PercentLabelCaption(), L"100%");
    EXPECT_FLOAT_EQ(panel.PercentLabelLeftEdge(), 130.0f);
}

TEST(ScalePanel, OpeningOnASmallFormGrowsItAndSpansTheClientWidth) {
    FakeForm form(200, 133); // about 3000 x 2000 twips
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    const auto start = std::chrono::steady_clock::now();
    panel.ShowScalePanel(L"100% equals the captured size");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(100)) << "the opening pauses 0.1 s";

    EXPECT_EQ(form.Outer().cx, 320); // 4800 twips
    EXPECT_EQ(form.Outer().cy, 267); // 4000 twips, rounded
    const SIZE client = form.Client();
    EXPECT_EQ(panel.Placement(),
              (PanelRect{0.0f, client.cy / 2.0f - 52.5f, static_cast<float>(client.cx),
                         static_cast<float>(client.cy - 125)}));
    const RECT rc = PanelInForm(panel);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.right, client.cx);
    EXPECT_EQ(rc.bottom - rc.top, client.cy - 125);
    EXPECT_TRUE(panel.Visible());
    EXPECT_EQ(panel.equalsLabel.Caption(), L"100% equals the captured size");
}

TEST(ScalePanel, TheFormGrowsTo4800By4000TwipsOnlyWhereItIsNarrowAndLow) {
    struct Case {
        int width, height; // of the form, in pixels
        int twipsPerPixel;
        int grownWidth, grownHeight;
    };
    const Case cases[] = {
        {320, 266, 15, 320, 267}, // 4800 x 3990 twips: just below the height, set to the same size
        {300, 200, 10, 480, 400}, // at 144 dots per inch a pixel is 10 twips
        {481, 100, 10, 481, 100}, // 4810 twips are wide enough: left alone
        {321, 66, 15, 321, 66},   // 4815 twips wide; the panel sticks out above and below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        FakeForm form(c.width, c.height);
        ScalePanel panel;
        ASSERT_TRUE(panel.Create(form.hwnd(), c.twipsPerPixel, c.twipsPerPixel));
        panel.ShowScalePanel(L"");
        EXPECT_EQ(form.Outer().cx, c.grownWidth);
        EXPECT_EQ(form.Outer().cy, c.grownHeight);
    }
}

TEST(ScalePanel, SliderChangesDriveScaleStepAndThePercentageLabel) {
    FakeForm form(400, 300);
    ScalePanel panel;
    std::vector<std::int16_t> reported;
    panel.onScaleStep = [&](std::int16_t step) { reported.push_back(step); };
    ASSERT_TRUE(panel.Create(form.hwnd()));
    reported.clear();
    panel.slider.SetValue(1);
    EXPECT_EQ(panel.PercentLabelCaption(), L"10%");
    EXPECT_FLOAT_EQ(panel.PercentLabelLeftEdge(), 17.5f);
    panel.slider.SetValue(20);
    EXPECT_EQ(panel.PercentLabelCaption(), L"200%");
    EXPECT_FLOAT_EQ(panel.PercentLabelLeftEdge(), 255.0f);
    EXPECT_EQ(panel.ScaleStep(), 20);
    EXPECT_EQ(reported, (std::vector<std::int16_t>{1, 20}));
}

TEST(ScalePanel, CloseHidesThePanelAndTheScaleStays) {
    FakeForm form(400, 300);
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    panel.ShowScalePanel(L"");
    panel.slider.SetValue(7);
    ASSERT_TRUE(panel.Visible());
    Click(panel.closeButton.hwnd(), 10, 10);
    EXPECT_FALSE(panel.Visible());
    EXPECT_EQ(panel.ScaleStep(), 7);
    EXPECT_EQ(panel.slider.Value(), 7);
}

TEST(ScalePanel, OnScreenItShowsTheRaisedBorderAndBothGrooveColours) {
    FakeForm form(400, 300, WS_POPUP);
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    panel.ShowScalePanel(L"100% equals");
    ::RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HWND p = panel.hwnd();
    const int w = 300, h = 105;
    EXPECT_EQ(ScreenPixel(p, 150, 45 + 40), RGB(192, 192, 192)) << "panel face";
    EXPECT_EQ(ScreenPixel(p, 0, 50), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(ScreenPixel(p, 150, 0), ::GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(ScreenPixel(p, 1, 50), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(ScreenPixel(p, w - 1, 50), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(ScreenPixel(p, 150, h - 1), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(ScreenPixel(p, w - 2, 50), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ScreenPixel(p, 150, h - 2), ::GetSysColor(COLOR_BTNSHADOW));

    // The slider sits at (8, 32); its groove row 9, left and right of the handle.
    EXPECT_EQ(ScreenPixel(p, 8 + 60, 32 + 9), RGB(200, 200, 0));
    EXPECT_EQ(ScreenPixel(p, 8 + 200, 32 + 9), RGB(0, 0, 0));

    // The percentage is drawn in black somewhere in its box above the knob.
    int dark = 0;
    for (int x = 130; x < 160; ++x)
        for (int y = 8; y < 24; ++y)
            dark += ScreenPixel(p, x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 10);
}

TEST(ScalePanel, DraggingTheKnobWithThePointerMovesTheValueAndThePercentage) {
    FakeForm form(400, 300, WS_POPUP);
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    panel.ShowScalePanel(L"");
    PumpFor(100);

    const auto inputAt = [&](int x, int y, DWORD buttons) {
        POINT pt{x, y};
        ::ClientToScreen(panel.slider.hwnd(), &pt);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(pt.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(pt.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
        ASSERT_EQ(::SendInput(1, &in, sizeof(in)), 1u);
        PumpFor(60);
    };
    const int knob = panel.slider.HandleLeft() + 9;
    inputAt(knob, 9, 0);
    inputAt(knob, 9, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(panel.slider.Value(), 10) << "pressing alone moves nothing";
    inputAt(knob + 60, 9, 0);
    const std::int16_t midway = panel.slider.Value();
    EXPECT_GT(midway, 10);
    EXPECT_LT(midway, 20);
    EXPECT_EQ(panel.PercentLabelCaption(), std::to_wstring(midway * 10) + L"%");
    inputAt(400, 9, 0); // beyond the right end
    EXPECT_EQ(panel.slider.Value(), 20);
    EXPECT_EQ(panel.PercentLabelCaption(), L"200%");
    EXPECT_FLOAT_EQ(panel.PercentLabelLeftEdge(), 255.0f);
    inputAt(400, 9, MOUSEEVENTF_LEFTUP);
    inputAt(20, 9, 0);
    EXPECT_EQ(panel.slider.Value(), 20) << "no drag once the button is up";
    EXPECT_EQ(panel.ScaleStep(), 20);
}
