// The frame colour from the colour dialog, played from another thread.
#include "controls/high_contrast_win.h"
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qorvic;
using namespace qorvic::test;

namespace {

void SetNumber(HWND dialog, int id, int value) {
    ::SetDlgItemInt(dialog, id, static_cast<UINT>(value), FALSE);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, EN_UPDATE),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The user at the colour dialog: opens the full form, types red, green and
// blue, adds the colour to the custom ones and confirms, or cancels.
std::thread AnswerColourDialog(HWND owner, int r, int g, int b, bool confirm, bool* seen) {
    return std::thread([=] {
        HWND dialog = WaitForDialog(nullptr, owner);
        *seen = dialog != nullptr;
        if (!dialog)
            return;
        ::Sleep(300);
        if (confirm) {
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x2cf, BN_CLICKED), 0); // define custom
            ::Sleep(200);
            SetNumber(dialog, 0x2c2, r);
            SetNumber(dialog, 0x2c3, g);
            SetNumber(dialog, 0x2c4, b);
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x2c8, BN_CLICKED), 0); // add custom
            ::Sleep(100);
        }
        ::PostMessageW(::GetDlgItem(dialog, confirm ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    });
}

} // namespace

TEST(FrameColour, ConfirmSetsTheFrameAndKeepsCustomColoursCancelChangesNothing) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    FrameWindow& form = *frame.form;

    bool seen = false;
    std::thread user = AnswerColourDialog(form.hwnd(), 10, 20, 30, true, &seen);
    Choose(form, menus::OptionsRow::FrameColour);
    user.join();
    ASSERT_TRUE(seen);
    EXPECT_EQ(form.BackColour(), static_cast<std::int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(form.commands().colourDialog.customColours[0], RGB(10, 20, 30))
        << "the custom colour is kept for the next opening";

    const auto customBefore = form.commands().colourDialog.customColours;
    user = AnswerColourDialog(form.hwnd(), 200, 0, 0, false, &seen);
    Choose(form, menus::OptionsRow::FrameColour);
    user.join();
    ASSERT_TRUE(seen);
    EXPECT_EQ(form.BackColour(), static_cast<std::int32_t>(RGB(10, 20, 30)));
    EXPECT_EQ(form.commands().colourDialog.customColours, customBefore);
}

TEST(FrameColour, TheFramePaintsItsMarginForScreenshotsAndHasNothingToErase) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    HWND hwnd = frame.form->hwnd();
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const Pixels printed(client.right, client.bottom, [&](HDC dc) {
        ::PatBlt(dc, 0, 0, client.right, client.bottom, WHITENESS); // not the frame colour
        EXPECT_EQ(::SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
        ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    EXPECT_EQ(printed.At(2, client.bottom / 2), static_cast<COLORREF>(frame->BackColour()))
        << "the left margin in the frame colour";
}

// Switching high contrast on redraws the strip in the system's colours at once;
// the frame keeps the user's colour.
TEST(FrameColour, HighContrastRedrawsTheStripAndKeepsTheFrameColour) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    HWND hwnd = frame.form->hwnd();
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const int stripX = client.right - 4, stripY = frame->Shape().stripHeight / 2;
    ASSERT_NE(Pixels::Of(hwnd).At(stripX, stripY), ::GetSysColor(COLOR_BTNFACE));
    OverrideHighContrast(true);
    ::SendMessageW(hwnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    const Pixels contrast = Pixels::Of(hwnd);
    OverrideHighContrast(std::nullopt);
    EXPECT_EQ(contrast.At(stripX, stripY), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(contrast.At(2, client.bottom / 2), static_cast<COLORREF>(frame->BackColour()));
}
