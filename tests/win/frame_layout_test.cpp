// The frame's layout on real windows at several DPIs, as invariants: the
// see-through area sits evenly inside margins of the same physical size, the
// strip is the menu bar's height, and at the system's DPI the captions have the
// menu font's size and fit their rows. The wrapper script runs this once more
// with the system at 120, 144 and 192 DPI. (A move to another DPI is played
// with WM_DPICHANGED alone: the controls' own DPI follows the system's answer
// for their windows, which cannot be changed from here.)
#include "base/dpi.h"
#include "base/dpi_win.h"
#include "controls/control_font.h"
#include "menus/menu_window_win.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// The frame's margin around the see-through area; every side must have the same.
int Margin(const FrameWindow& frame) {
    RECT client{};
    ::GetClientRect(frame.hwnd(), &client);
    const auto& area = frame.Shape().seeThroughArea;
    const int left = area.left;
    EXPECT_EQ(client.right - (area.left + area.width), left) << "right margin";
    EXPECT_EQ(client.bottom - (area.top + area.height), left) << "bottom margin";
    EXPECT_EQ(area.top - frame.Shape().stripHeight, left) << "margin below the strip";
    return left;
}

int FontPixels(const OwnerDrawnControl& control) {
    return -controls::FontHeightForPoints(control.GetFont().size, control.Dpi());
}

} // namespace

TEST(FrameLayout, AtEveryDpiTheLayoutFollowsAndKeepsItsPhysicalSize) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    FrameWindow& form = *frame.form;
    const int startDpi = form.Dpi();
    EXPECT_EQ(startDpi, WindowDpi(form.hwnd()));
    const double designMargin = Margin(form) * 96.0 / startDpi;
    form.scalePanel.SetScaleStep(14);

    // What the system sends when the window moves to a monitor of another
    // scale; the last keeps the size, so no WM_SIZE comes to lay it out.
    const struct {
        int dpi;
        bool keepSize;
    } moves[] = {{120, false},
                 {144, false},
                 {192, false},
                 {startDpi, false},
                 {startDpi == 144 ? 192 : 144, true}};
    for (const auto [dpi, keepSize] : moves) {
        SCOPED_TRACE(dpi);
        const RECT old = OuterRect(form.hwnd());
        RECT suggested = old;
        if (!keepSize) {
            suggested.right = old.left + ::MulDiv(old.right - old.left, dpi, form.Dpi());
            suggested.bottom = old.top + ::MulDiv(old.bottom - old.top, dpi, form.Dpi());
        }
        ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        Pump();

        EXPECT_EQ(form.Dpi(), dpi);
        const RECT now = OuterRect(form.hwnd());
        EXPECT_TRUE(::EqualRect(&now, &suggested)) << "the window takes the suggested rectangle";
        EXPECT_EQ(form.Shape().stripHeight, SystemMetricForDpi(SM_CYMENU, dpi));
        EXPECT_EQ(form.State().TwipsPerPixelX, TwipsPerPixelForDpi(dpi));
        EXPECT_NEAR(Margin(form) * 96.0 / dpi, designMargin, 0.75) << "same physical margin";
        EXPECT_EQ(form.scalePanel.Dpi(), dpi);
        EXPECT_EQ(form.scalePanel.ScaleStep(), 14) << "the scale survives the move";
    }

    // The panel makes the frame at least 4800 twips wide at the DPI in force.
    Choose(form, menus::OptionsRow::OutputSize);
    Pump();
    const RECT grown = OuterRect(form.hwnd());
    EXPECT_GE((grown.right - grown.left + 1) * form.State().TwipsPerPixelX, 4800);
    RECT client{};
    ::GetClientRect(form.hwnd(), &client);
    const RECT panel = RectInParent(form.scalePanel.hwnd());
    EXPECT_NEAR(panel.left + panel.right, client.right, 1)
        << "the panel is centred or spans the frame";
}

// The hidden panel is made once the frame idles; a frame that moved to another
// DPI before that and shows the panel at once gets it made then, at the DPI in force.
TEST(FrameLayout, APanelNotYetMadeIsMadeByItsRowAtTheDpiInForce) {
    TestFrame frame;
    frame.options.scalePanelDelayMs = 60000;
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    FrameWindow& form = *frame.form;
    EXPECT_EQ(form.scalePanel.hwnd(), nullptr) << "not before the frame idles";
    const int dpi = form.Dpi() == 144 ? 192 : 144;
    RECT suggested = OuterRect(form.hwnd());
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    Choose(form, menus::OptionsRow::OutputSize);
    Pump();
    EXPECT_TRUE(form.scalePanel.Visible());
    EXPECT_EQ(form.scalePanel.Dpi(), dpi);
}

// At the system's DPI the captions have the system menu font's size and fit
// their rows, which lie one below the other inside the menu.
TEST(FrameLayout, CaptionsHaveTheSystemMenuFontsSizeAndFitTheirRows) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    FrameWindow& form = *frame.form;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const int system = std::abs(metrics.lfMenuFont.lfHeight);
    ASSERT_EQ(form.Dpi(), form.optionsLabel.Dpi());
    // Within a pixel: the size is kept in whole points.
    EXPECT_NEAR(FontPixels(form.optionsLabel), system, 1) << "at " << form.Dpi() << " DPI";
    EXPECT_NEAR(FontPixels(form.wholeScreenBox), system, 1);
    // The strip's controls lie in the strip, side by side.
    RECT strip{};
    ::GetClientRect(form.hwnd(), &strip);
    strip.bottom = form.Shape().stripHeight;
    const RECT label = RectInParent(form.optionsLabel.hwnd());
    const RECT box = RectInParent(form.wholeScreenBox.hwnd());
    EXPECT_TRUE(Inside(label, strip) && Inside(box, strip) && !Overlap(label, box));

    form.Menus().OpenOptionsMenu();
    Pump();
    MenuWindow* menu = form.Menus().FirstLevel();
    ASSERT_NE(menu, nullptr);
    RECT inside{};
    ::GetClientRect(menu->hwnd(), &inside);
    RECT above{0, 0, 0, 0};
    for (std::size_t row = 0; Label* label = menu->rowLabel(row); ++row) {
        SCOPED_TRACE(row);
        EXPECT_NEAR(FontPixels(*label), system, 1);
        EXPECT_LE(label->Height(), menu->ItemHeight());
        const RECT placed = RectInParent(label->hwnd());
        EXPECT_TRUE(Inside(placed, inside));
        EXPECT_GE(placed.top, above.bottom) << "rows do not overlap";
        above = placed;
    }
    form.Menus().CloseAll();
}
