#include "base/dpi.h"
#include "base/dpi_win.h"
#include "capture/capture_geometry.h"
#include "controls/slider_model.h"
#include "controls/control_font.h"
#include "frame/frame_window_win.h"
#include "menus/menu_window_win.h"
#include "frame/scale_panel_layout.h"
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace qorvic;

namespace {

RECT OuterRect(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return rc;
}

// The frame's rectangles as the layout for `dpi` must give them in the current client area.
void ExpectLaidOutFor(FrameWindow& form, int dpi) {
    RECT client{};
    ::GetClientRect(form.hwnd(), &client);
    const int margin = ScaleForDpi(6, dpi);
    EXPECT_EQ(form.Shape().seeThroughArea,
              (Box{margin, form.Shape().stripHeight + margin, client.right - 2 * margin,
                   client.bottom - form.Shape().stripHeight - 2 * margin}));
    EXPECT_EQ(form.State().TwipsPerPixelX, TwipsPerPixelForDpi(dpi));
    EXPECT_EQ(form.State().TwipsPerPixelY, TwipsPerPixelForDpi(dpi));
}

class FrameDpiTest : public ::testing::Test {
protected:
    void SetUp() override {
        FrameWindow::Options options;
        options.appDataFolder = test::FreshFolder(L"dpi");
        options.homePageUrl = L""; // no update check
        options.onEnd = [] {};
        options.showMessage = [](const std::wstring&) {};
        form_ = std::make_unique<FrameWindow>(options);
        ASSERT_TRUE(form_->Load(SW_SHOWNOACTIVATE));
        test::Pump();
    }
    void TearDown() override {
        if (form_)
            form_->Shutdown();
    }
    std::unique_ptr<FrameWindow> form_;
};

} // namespace

TEST_F(FrameDpiTest, StartsLaidOutForTheWindowsDpi) {
    FrameWindow& form = *form_;
    EXPECT_EQ(form.Dpi(), WindowDpi(form.hwnd()));
    EXPECT_EQ(form.Shape().stripHeight, SystemMetricForDpi(SM_CYMENU, form.Dpi()));
    ExpectLaidOutFor(form, form.Dpi());
    // The designed 304 x 228 client, scaled.
    RECT client{};
    ::GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(304, form.Dpi()));
    EXPECT_EQ(client.bottom, ScaleForDpi(228, form.Dpi()));
}

TEST_F(FrameDpiTest, DpiChangeTakesTheSuggestedRectangleAndRelaysOut) {
    FrameWindow& form = *form_;
    const int before = form.Dpi();
    const RECT old = OuterRect(form.hwnd());
    const int after = before == 144 ? 192 : 144;

    // What the system sends when the window moves to a monitor with another scale.
    RECT suggested{old.left + 40, old.top + 30,
                   old.left + 40 + ScaleForDpi(old.right - old.left, after * 96 / before),
                   old.top + 30 + ScaleForDpi(old.bottom - old.top, after * 96 / before)};
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(after, after),
                   reinterpret_cast<LPARAM>(&suggested));
    test::Pump();

    EXPECT_EQ(form.Dpi(), after);
    const RECT now = OuterRect(form.hwnd());
    EXPECT_EQ(now.left, suggested.left);
    EXPECT_EQ(now.top, suggested.top);
    EXPECT_EQ(now.right, suggested.right);
    EXPECT_EQ(now.bottom, suggested.bottom);
    EXPECT_EQ(form.Shape().stripHeight, SystemMetricForDpi(SM_CYMENU, after));
    EXPECT_GT(form.Shape().stripHeight, SystemMetricForDpi(SM_CYMENU, before));
    ExpectLaidOutFor(form, after);
    EXPECT_EQ(form.Shape().seeThroughArea.left, ScaleForDpi(6, after));

    // Back on the first monitor the layout is the old one again, even when the
    // suggested size does not change and so brings no WM_SIZE.
    const RECT same = OuterRect(form.hwnd());
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(before, before),
                   reinterpret_cast<LPARAM>(&same));
    test::Pump();
    EXPECT_EQ(form.Dpi(), before);
    ExpectLaidOutFor(form, before);
}

namespace {

RECT ChildRect(HWND parent, HWND child) {
    RECT rc = OuterRect(child);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The panel, its slider and the percentage as the geometry for `dpi` places them.
void ExpectPanelFor(FrameWindow& form, int dpi) {
    ScalePanel& panel = form.scalePanel;
    const ScalePanelGeometry g = ScalePanelGeometryForDpi(dpi);
    const SliderMetrics m = SliderMetricsForDpi(dpi);
    EXPECT_EQ(panel.Dpi(), dpi);
    EXPECT_EQ(panel.slider.Dpi(), dpi);
    const RECT slider = ChildRect(panel.hwnd(), panel.slider.hwnd());
    EXPECT_EQ(slider.left, g.slider.left);
    EXPECT_EQ(slider.top, g.slider.top);
    EXPECT_EQ(slider.right - slider.left, g.slider.width);
    EXPECT_EQ(slider.bottom - slider.top, m.height);
    EXPECT_EQ(panel.slider.HandleLeft(),
              SliderHandleLeft(g.slider.width, panel.slider.Value(), 1, 20, m));
    const RECT close = ChildRect(panel.hwnd(), panel.closeButton.hwnd());
    EXPECT_EQ(close.left, g.closeButton.left);
    EXPECT_EQ(close.right - close.left, g.closeButton.width);
    EXPECT_EQ(close.bottom - close.top, g.closeButton.height);
    EXPECT_FLOAT_EQ(panel.PercentLabelLeftEdge(), PercentLabelLeft(panel.ScaleStep(), dpi));
}

RECT SuggestedFor(HWND window, int dpi) {
    const RECT old = OuterRect(window);
    const int before = WindowDpi(window);
    return RECT{old.left, old.top, old.left + ::MulDiv(old.right - old.left, dpi, before),
                old.top + ::MulDiv(old.bottom - old.top, dpi, before)};
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
    reinterpret_cast<std::vector<Box>*>(list)->push_back(
        {rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top});
    return TRUE;
}

} // namespace

TEST_F(FrameDpiTest, DpiChangeRedrawsTheScalingPanelAndSliderAtTheNewScale) {
    FrameWindow& form = *form_;
    const int before = form.Dpi();
    const int after = before == 144 ? 192 : 144;
    ExpectPanelFor(form, before);
    form.scalePanel.slider.SetValue(14);

    RECT suggested = SuggestedFor(form.hwnd(), after);
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(after, after),
                   reinterpret_cast<LPARAM>(&suggested));
    test::Pump();
    ExpectPanelFor(form, after);
    EXPECT_EQ(form.scalePanel.slider.Value(), 14) << "the scale survives the move";
    EXPECT_EQ(form.scalePanel.ScaleStep(), 14);
    // The slider's colours are painted into the fresh pictures.
    EXPECT_EQ(form.scalePanel.slider.ForeColor(), kSliderDefaultForeColor);

    // Opening the panel on the small frame grows it to 4800 x 4000 twips at the new twips.
    test::Choose(form, menus::OptionsRow::OutputSize);
    test::Pump();
    const RECT grown = OuterRect(form.hwnd());
    const int tpp = TwipsPerPixelForDpi(after);
    EXPECT_EQ(grown.right - grown.left, static_cast<int>(4800.0 / tpp + 0.5));
    RECT client{};
    ::GetClientRect(form.hwnd(), &client);
    const RECT panel = ChildRect(form.hwnd(), form.scalePanel.hwnd());
    EXPECT_EQ(panel.right - panel.left, client.right);
    EXPECT_EQ(panel.bottom - panel.top,
              client.bottom - ScalePanelGeometryForDpi(after).heightReserve);

    // Back at the first scale the open panel keeps its place relative to the frame.
    suggested = SuggestedFor(form.hwnd(), before);
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(before, before),
                   reinterpret_cast<LPARAM>(&suggested));
    test::Pump();
    ExpectPanelFor(form, before);
    const RECT back = ChildRect(form.hwnd(), form.scalePanel.hwnd());
    EXPECT_NEAR(back.right - back.left, (panel.right - panel.left) * before / after, 1);
}

// The strip's and the menus' captions have the system menu font's size at the
// screen's DPI (the wrapper script runs this at 120, 144 and 192 DPI too), and
// each fits its row.
TEST_F(FrameDpiTest, CaptionsHaveTheSystemMenuFontsSizeAndFitTheirRows) {
    FrameWindow& form = *form_;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const int system = std::abs(metrics.lfMenuFont.lfHeight);
    ASSERT_EQ(form.Dpi(), form.optionsLabel.Dpi());
    const auto pixels = [](const OwnerDrawnControl& control) {
        return -controls::FontHeightForPoints(control.GetFont().size, control.Dpi());
    };
    // Within a pixel: the size is kept in whole points.
    EXPECT_NEAR(pixels(form.optionsLabel), system, 1) << "at " << form.Dpi() << " DPI";
    EXPECT_NEAR(pixels(form.wholeScreenBox), system, 1);
    EXPECT_LE(form.optionsLabel.Top() + form.optionsLabel.Height(), form.Shape().stripHeight);

    form.Menus().OpenOptionsMenu();
    test::Pump();
    MenuWindow* menu = form.Menus().FirstLevel();
    ASSERT_NE(menu, nullptr);
    for (std::size_t row = 0; Label* label = menu->rowLabel(row); ++row) {
        EXPECT_NEAR(pixels(*label), system, 1) << "row " << row;
        EXPECT_LE(label->Height(), menu->ItemHeight()) << "row " << row;
    }
    form.Menus().CloseAll();
}

TEST(VirtualScreen, MetricsSpanEveryMonitorTheSystemReports) {
    std::vector<Box> monitors;
    ASSERT_TRUE(::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor,
                                      reinterpret_cast<LPARAM>(&monitors)));
    ASSERT_FALSE(monitors.empty());
    const Box expected = VirtualScreenOf(monitors);
    const Box area = WholeScreenArea(
        ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
        ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(area, expected);
}
