#include "capture/capture_geometry.h"
#include "mainwindow/form1_win.h"
#include "mainwindow/scale_panel_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qorvic;
using qorvic::test::FreshFolder;
using qorvic::test::Pump;

namespace {} // namespace

// The panel wired to the main window as the program does: the slider's scale
// becomes Form1's ScaleStep, which the capture applies after the panel closed.
TEST(ScalePanelWithForm1, ACaptureAfterClosingThePanelUsesTheChosenScale) {
    Form1::Options options;
    options.homePageUrl = L""; // no update check
    options.appDataFolder = FreshFolder(L"scale");
    auto form = std::make_unique<Form1>(options);
    form->onEnd = nullptr;
    ASSERT_TRUE(form->Load());
    ::SetWindowPos(form->hwnd(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    Pump();

    ScalePanel panel;
    panel.onScaleStep = [&form](std::int16_t step) { form->ScaleStep = step; };
    ASSERT_TRUE(
        panel.Create(form->hwnd(), form->State().TwipsPerPixelX, form->State().TwipsPerPixelY));
    panel.ShowScalePanel(form->State().texts.TxtEquals);
    Pump();

    // Drag the knob to the left end (10 %) and back to 50 %.
    HWND slider = panel.Slider.hwnd();
    ::SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 9));
    ::SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 9));
    EXPECT_EQ(form->ScaleStep, 1);
    const int fiftyPercent = *SliderHandleLeft(285, 5, 1, 20) + 10;
    ::SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(fiftyPercent, 9));
    ::SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(fiftyPercent, 9));
    ASSERT_EQ(form->ScaleStep, 5);
    EXPECT_EQ(panel.ResizeLabelCaption(), L"50%");

    ::SendMessageW(panel.cmdClose.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(panel.cmdClose.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_FALSE(panel.Visible());
    EXPECT_EQ(form->ScaleStep, 5) << "closing keeps the scale";

    form->CaptureFrame();
    ASSERT_GT(form->picCapture.Width(), 100);
    const PictureSize half = ScaledSize(form->picCapture.Width(), form->picCapture.Height(), 5);
    EXPECT_EQ(form->picDest.Width(), half.width);
    EXPECT_EQ(form->picDest.Height(), half.height);
    EXPECT_NEAR(form->picDest.Width() * 2, form->picCapture.Width(), 1);
}
