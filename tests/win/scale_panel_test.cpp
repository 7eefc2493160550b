// The scaling panel on a stand-in main window: it grows a small window and
// spans it, reports the slider's scale, closes, draws itself, and keeps its
// children apart and their physical size at every DPI. Where and how much it
// grows is the placement rules' own (native) test.
#include "base/dpi.h"
#include "frame/scale_panel_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// A stand-in for the main window, framed and topmost like it.
struct StandIn : TestWindow {
    StandIn(int width, int height, DWORD style = WS_OVERLAPPEDWINDOW)
        : TestWindow(::GetSysColor(COLOR_WINDOW), true, style, width, height) {}
};

int Width(const RECT& r) {
    return r.right - r.left;
}

} // namespace

TEST(ScalePanel, OpeningGrowsASmallWindowSpansItsWidthAndCloseKeepsTheScale) {
    StandIn form(200, 133); // about 3000 x 2000 twips
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    EXPECT_FALSE(panel.Visible()) << "hidden until shown";
    const RECT before = OuterRect(form.hwnd());
    panel.ShowScalePanel(L"100% equals the captured size");
    ASSERT_TRUE(panel.Visible());
    const RECT grown = OuterRect(form.hwnd());
    EXPECT_GT(Width(grown), Width(before));
    EXPECT_GT(grown.bottom - grown.top, before.bottom - before.top);
    RECT client{};
    ::GetClientRect(form.hwnd(), &client);
    const RECT placed = RectInParent(panel.hwnd());
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.right, client.right);
    EXPECT_NEAR(placed.top, panel.Placement().top, 1) << "the window is where the rules say";
    EXPECT_EQ(panel.equalsLabel.Caption(), L"100% equals the captured size");

    panel.slider.SetValue(7);
    Click(panel.closeButton.hwnd(), 10, 10);
    EXPECT_FALSE(panel.Visible());
    EXPECT_EQ(panel.ScaleStep(), 7);
}

TEST(ScalePanel, SliderChangesDriveScaleStepAndThePercentageLabel) {
    StandIn form(400, 300);
    ScalePanel panel;
    std::vector<std::int16_t> reported;
    panel.onScaleStep = [&](std::int16_t step) { reported.push_back(step); };
    ASSERT_TRUE(panel.Create(form.hwnd()));
    reported.clear();
    EXPECT_EQ(panel.PercentLabelCaption(), L"100%");
    panel.slider.SetValue(1);
    EXPECT_EQ(panel.PercentLabelCaption(), L"10%");
    const float left = panel.PercentLabelLeftEdge();
    panel.slider.SetValue(20);
    EXPECT_EQ(panel.PercentLabelCaption(), L"200%");
    EXPECT_GT(panel.PercentLabelLeftEdge(), left) << "the percentage rides with the knob";
    EXPECT_EQ(panel.ScaleStep(), 20);
    EXPECT_EQ(reported, (std::vector<std::int16_t>{1, 20}));
}

TEST(ScalePanel, ShowsItsFaceTheGrooveAndThePercentage) {
    const int dpi = Window::DpiOf(nullptr);
    StandIn form(ScaleForDpi(400, dpi), ScaleForDpi(300, dpi), WS_POPUP);
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    panel.ShowScalePanel(L"100% equals");
    ::RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Points taken from the children's places, so the check holds at any DPI
    // (win_tests_high_dpi runs it at 120, 144 and 192).
    const Pixels shown = Pixels::Of(panel.hwnd());
    const RECT slider = RectInParent(panel.slider.hwnd());
    const RECT equals = RectInParent(panel.equalsLabel.hwnd());
    RECT inside{};
    ::GetClientRect(panel.hwnd(), &inside);
    const int faceY = (equals.bottom + inside.bottom) / 2;
    EXPECT_EQ(shown.At(equals.left, faceY), RGB(192, 192, 192)) << "panel face";
    EXPECT_NE(shown.At(0, faceY), shown.At(equals.left, faceY)) << "the raised border";
    EXPECT_EQ(shown.At(slider.left + Width(slider) / 8, (slider.top + slider.bottom) / 2),
              RGB(200, 200, 0))
        << "the slider";
    const int x = static_cast<int>(panel.PercentLabelLeftEdge());
    EXPECT_GT(shown.DarkIn(x, 0, x + ScaleForDpi(30, panel.Dpi()), slider.top), 10)
        << "the percentage is drawn";
}

// At every DPI the children lie inside the panel without overlapping, and the
// panel keeps its physical size.
TEST(ScalePanel, AtEveryDpiChildrenFitApartAndThePanelKeepsItsPhysicalSize) {
    StandIn form(900, 700, WS_POPUP);
    ScalePanel panel;
    ASSERT_TRUE(panel.Create(form.hwnd()));
    panel.ShowScalePanel(L"100% equals the captured size");
    panel.SetScaleStep(14);
    const double designWidth = Width(RectInParent(panel.hwnd())) * 96.0 / panel.Dpi();
    for (int dpi : {120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        panel.ApplyDpi(dpi, TwipsPerPixelForDpi(dpi), TwipsPerPixelForDpi(dpi));
        EXPECT_EQ(panel.slider.Dpi(), dpi);
        RECT inside{};
        ::GetClientRect(panel.hwnd(), &inside);
        EXPECT_NEAR(inside.right * 96.0 / dpi, designWidth, 1.0);
        const std::vector<RECT> children = {RectInParent(panel.slider.hwnd()),
                                            RectInParent(panel.equalsLabel.hwnd()),
                                            RectInParent(panel.closeButton.hwnd())};
        for (std::size_t i = 0; i < children.size(); ++i) {
            EXPECT_TRUE(Inside(children[i], inside)) << "child " << i;
            for (std::size_t j = i + 1; j < children.size(); ++j)
                EXPECT_FALSE(Overlap(children[i], children[j])) << i << " and " << j;
        }
        EXPECT_EQ(panel.ScaleStep(), 14) << "the scale survives";
        EXPECT_GE(panel.PercentLabelLeftEdge(), 0.0f);
        EXPECT_LE(panel.PercentLabelLeftEdge(), static_cast<float>(children[0].right));
    }
}
