// The label, check box, button and slider on real windows: what reaches their
// notifications, what they draw, and the fonts they are given. The rules behind
// them (hover, click, sizes, slider steps, font heights) are the native tests'.
#include "controls/button_win.h"
#include "controls/check_box_win.h"
#include "controls/high_contrast_win.h"
#include "controls/label_win.h"
#include "controls/slider_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

constexpr COLORREF kBackdrop = RGB(30, 200, 60);

void Send(HWND control, UINT msg, WPARAM buttons, int x, int y) {
    ::SendMessageW(control, msg, buttons, ClientPoint(x, y));
}

// The system's keyboard cues decide for a control created while they hold.
template <class Control> bool CreateWithCues(Control& c, bool cues, HWND parent, int y) {
    BOOL before = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &before, 0);
    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{cues}), 0);
    const bool made = c.Create(parent, 10, y, 285, 28);
    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{before}), 0);
    return made;
}

// Pixels of the control drawn otherwise than in `before`.
int Changed(HWND control, const Pixels& before) {
    const Pixels now = Pixels::Of(control);
    int n = 0;
    for (int x = 0; x < now.Width(); ++x)
        for (int y = 0; y < 28; ++y)
            n += now.At(x, y) != before.At(x, y);
    return n;
}

} // namespace

TEST(Label, AutoSizeFollowsCaptionAndFontAndRefusedValuesChangeNothing) {
    TestWindow parent;
    Label label;
    ASSERT_TRUE(label.Create(parent.hwnd(), 10, 10, 5, 5));
    label.SetAutoSize(true);
    label.SetCaption(L"Options");
    const int width = label.Width();
    const int height = label.Height();
    label.SetCaption(L"Options and more");
    EXPECT_GT(label.Width(), width);
    EXPECT_EQ(label.Height(), height);
    label.SetCaption(L"Options");
    label.SetFontBold(true);
    EXPECT_GT(label.Width(), width);
    ASSERT_TRUE(label.SetFontSize(16.0f));
    EXPECT_GT(label.Height(), height);
    // The window really has that size, in its place.
    const RECT placed = RectInParent(label.hwnd());
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.right - placed.left, label.Width());
    EXPECT_EQ(placed.bottom - placed.top, label.Height());

    // A refusal keeps the font, the size and the place.
    EXPECT_FALSE(label.SetFontSize(std::nanf("")));
    EXPECT_FALSE(label.SetFontName(L""));
    EXPECT_FALSE(label.Move(1, 2, -5, 10));
    EXPECT_EQ(label.GetFont().size, 16.0f);
    const RECT after = RectInParent(label.hwnd());
    EXPECT_TRUE(::EqualRect(&placed, &after));
}

TEST(Label, TransparentLabelShowsWhatLiesBehindItsText) {
    TestWindow parent;
    Label label;
    ASSERT_TRUE(label.Create(parent.hwnd(), 20, 20, 120, 30));
    label.SetFontSize(14.0f);
    label.SetCaption(L"Wxyz");
    const Pixels shown = Pixels::Of(label.hwnd());
    EXPECT_EQ(shown.At(118, 28), kBackdrop);
    EXPECT_GT(shown.DarkIn(0, 0, 60, 30), 20) << "the caption is drawn";
    label.SetTransparent(false);
    label.SetBackColor(RGB(255, 255, 255));
    EXPECT_EQ(Pixels::Of(label.hwnd()).At(118, 28), RGB(255, 255, 255));

    // A parent that leaves WM_PRINTCLIENT unanswered: a lower sibling and the class colour show.
    TestWindow plain(kBackdrop, false);
    Label below;
    ASSERT_TRUE(below.Create(plain.hwnd(), 10, 10, 50, 40));
    below.SetTransparent(false);
    below.SetBackColor(RGB(250, 0, 0));
    Label above;
    ASSERT_TRUE(above.Create(plain.hwnd(), 40, 20, 60, 20));
    above.BringToFront();
    const Pixels over = Pixels::Of(above.hwnd());
    EXPECT_EQ(over.At(5, 10), RGB(250, 0, 0));
    EXPECT_EQ(over.At(40, 10), TestWindow::kPlainFill);
}

TEST(Label, ReportsEntriesAndReleasesWithButtonShiftAndPosition) {
    TestWindow parent;
    Label label;
    ASSERT_TRUE(label.Create(parent.hwnd(), 10, 10, 80, 20));
    int entries = 0;
    label.onMouseEnter = [&] { ++entries; };
    Send(label.hwnd(), WM_MOUSEMOVE, 0, 5, 5);
    Send(label.hwnd(), WM_MOUSEMOVE, 0, 6, 5);
    ::SendMessageW(label.hwnd(), WM_MOUSELEAVE, 0, 0);
    Send(label.hwnd(), WM_MOUSEMOVE, 0, 7, 5);
    EXPECT_EQ(entries, 2);

    std::vector<std::vector<int>> ups;
    int clicks = 0;
    label.onMouseUp = [&](int b, int s, int x, int y) { ups.push_back({b, s, x, y}); };
    label.onClick = [&] { ++clicks; };
    Send(label.hwnd(), WM_RBUTTONUP, MK_SHIFT | MK_CONTROL, 7, 9);
    Send(label.hwnd(), WM_MBUTTONUP, 0, 70, 3);
    Click(label.hwnd(), 4, 4, 5, 6);
    Click(label.hwnd(), 4, 4, 200, 6); // released outside: neither release nor click
    EXPECT_EQ(ups, (std::vector<std::vector<int>>{{2, 3, 7, 9}, {4, 0, 70, 3}, {1, 0, 5, 6}}));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(Label, OwnerMayDestroyTheLabelInsideANotification) {
    TestWindow parent;
    auto label = std::make_unique<Label>();
    ASSERT_TRUE(label->Create(parent.hwnd(), 10, 10, 80, 20));
    const HWND hwnd = label->hwnd();
    int clicks = 0;
    label->onMouseUp = [&](int, int, int, int) { label.reset(); };
    label->onClick = [&] { ++clicks; };
    Click(hwnd, 4, 4, 5, 5);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(clicks, 0);
}

TEST(CheckBox, ClickTogglesTheValueThenNotifiesOnceAndTheTickIsDrawn) {
    TestWindow parent;
    CheckBox box;
    ASSERT_TRUE(box.Create(parent.hwnd(), 10, 10, 150, 21));
    box.SetCaption(L"Capture screen");
    std::vector<bool> seen;
    box.onClick = [&] { seen.push_back(box.Value()); };
    const Pixels empty = Pixels::Of(box.hwnd());

    Click(box.hwnd(), 5, 5, 6, 6);
    EXPECT_TRUE(box.Value());
    const Pixels ticked = Pixels::Of(box.hwnd());
    Click(box.hwnd(), 100, 5, 100, 5); // on the caption counts too
    EXPECT_FALSE(box.Value());
    Click(box.hwnd(), 5, 5, 5, 60); // released outside
    EXPECT_FALSE(box.Value());
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    box.SetValue(true); // by the program: no notification
    EXPECT_EQ(seen.size(), 2u);

    // Ticked, the square is filled with the accent colour around a white tick.
    EXPECT_EQ(empty.At(2, 6), RGB(255, 255, 255));
    EXPECT_EQ(ticked.At(2, 6), RGB(0, 95, 184));
    EXPECT_GE(ticked.CountNear(1, 5, 12, 16, RGB(255, 255, 255), 8), 10);
    EXPECT_EQ(ticked.At(148, 1), kBackdrop);
}

TEST(Button, ClicksOnlyForPressAndReleaseInsideOrItsKeys) {
    TestWindow parent;
    Button button;
    ASSERT_TRUE(button.Create(parent.hwnd(), 200, 64, 80, 28));
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    Click(button.hwnd(), 10, 10, 70, 20);
    Click(button.hwnd(), 10, 10, 90, 20);         // released beside it
    Send(button.hwnd(), WM_LBUTTONUP, 0, 10, 10); // a release without a press
    // Capture taken away mid-press (another window, a menu): no click.
    Send(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    ::SetCapture(parent.hwnd());
    Send(button.hwnd(), WM_LBUTTONUP, 0, 10, 10);
    ::ReleaseCapture();
    EXPECT_EQ(clicks, 1);

    ::SendMessageW(button.hwnd(), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(clicks, 1) << "space clicks on its release";
    ::SendMessageW(button.hwnd(), WM_KEYUP, VK_SPACE, 0xC0000001);
    ::SendMessageW(button.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(clicks, 3);
}

// High contrast: faces and captions in the system's colours instead of the designed ones.
TEST(Button, HighContrastDrawsFaceAndCaptionInTheSystemColours) {
    TestWindow parent;
    Button button;
    ASSERT_TRUE(button.Create(parent.hwnd(), 200, 64, 80, 28));
    button.SetCaption(L"Close");
    const Pixels designed = Pixels::Of(button.hwnd());
    OverrideHighContrast(true);
    ::InvalidateRect(button.hwnd(), nullptr, FALSE); // as the system's setting change would
    const Pixels contrast = Pixels::Of(button.hwnd());
    OverrideHighContrast(std::nullopt);
    EXPECT_NE(designed.At(5, 14), contrast.At(5, 14));
    EXPECT_EQ(contrast.At(5, 14), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(contrast.CountNear(20, 5, 60, 23, ::GetSysColor(COLOR_BTNTEXT), 1), 10)
        << "the caption in the system's button text colour";
}

TEST(Button, ShowsHoverAndDrawsItsCaption) {
    TestWindow parent;
    Button button;
    ASSERT_TRUE(button.Create(parent.hwnd(), 200, 64, 80, 28));
    button.SetCaption(L"Close");
    const Pixels normal = Pixels::Of(button.hwnd());
    EXPECT_GT(normal.DarkIn(20, 5, 60, 23), 10) << "the caption is drawn";
    Send(button.hwnd(), WM_MOUSEMOVE, 0, 3, 3);
    EXPECT_NE(Pixels::Of(button.hwnd()).At(3, 3), normal.At(3, 3)) << "hover changes the face";
    ::SendMessageW(button.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Pixels::Of(button.hwnd()).At(3, 3), normal.At(3, 3));
}

// The focus rectangle shows only once the keyboard is used, or at once when the
// system's cues are on, on the button and on the slider alike.
TEST(KeyboardCues, FocusShowsAtOnceOnlyWhenTheSystemsCuesAreOn) {
    TestWindow parent(RGB(30, 200, 60), true, WS_POPUP, 320, 140);
    Button cuedButton, button;
    Slider cuedSlider, slider;
    ASSERT_TRUE(CreateWithCues(cuedButton, true, parent.hwnd(), 0));
    ASSERT_TRUE(CreateWithCues(button, false, parent.hwnd(), 35));
    ASSERT_TRUE(CreateWithCues(cuedSlider, true, parent.hwnd(), 70));
    ASSERT_TRUE(CreateWithCues(slider, false, parent.hwnd(), 105));
    for (const HWND cued : {cuedButton.hwnd(), cuedSlider.hwnd()}) {
        const Pixels before = Pixels::Of(cued);
        ::SetFocus(cued);
        EXPECT_GT(Changed(cued, before), 10) << "with the cues on, focus shows at once";
    }
    for (const HWND plain : {button.hwnd(), slider.hwnd()}) {
        const Pixels before = Pixels::Of(plain);
        ::SetFocus(plain);
        ASSERT_EQ(::GetFocus(), plain);
        EXPECT_EQ(Changed(plain, before), 0) << "focus taken by the mouse shows nothing";
    }
    const Pixels unfocused = Pixels::Of(button.hwnd());
    ::SetFocus(button.hwnd());
    ::SendMessageW(button.hwnd(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_GT(Changed(button.hwnd(), unfocused), 10);
    ::SetFocus(parent.hwnd());
    EXPECT_EQ(Changed(button.hwnd(), unfocused), 0);
}

// The scaling panel's slider: 285 x 20, range 1 to 20, value 10.
struct SliderTest : ::testing::Test {
    TestWindow host{::GetSysColor(COLOR_BTNFACE)};
    Slider slider;
    int changes = 0;
    int clicks = 0;

    void SetUp() override {
        ASSERT_TRUE(slider.Create(host.hwnd(), 8, 32, 285, 20));
        slider.Change = [this] { ++changes; };
        slider.Click = [this] { ++clicks; };
        slider.SetMax(20);
        slider.SetMin(1);
        slider.SetValue(10);
        changes = 0;
    }
    void Mouse(UINT msg, WPARAM buttons, int x) { Send(slider.hwnd(), msg, buttons, x, 10); }
    COLORREF At(int x, int y) { return Pixels::Of(slider.hwnd()).At(x, y); }
};

TEST_F(SliderTest, OnlyALeftDragMovesTheValueAndEveryStepRaisesChange) {
    const int middle = slider.HandleLeft();
    for (WPARAM buttons : {WPARAM{0}, WPARAM{MK_RBUTTON}})
        Mouse(WM_MOUSEMOVE, buttons, 260);
    Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 100);
    Mouse(WM_RBUTTONUP, 0, 100);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, middle + 10);
    EXPECT_EQ(slider.Value(), 10) << "moves without the left button and a press change nothing";
    EXPECT_EQ(changes + clicks, 0);

    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 260);
    EXPECT_EQ(slider.Value(), 20);
    EXPECT_GT(slider.HandleLeft(), middle);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 262);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, -60); // outside, still captured
    EXPECT_EQ(slider.Value(), 1);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 19);
    EXPECT_EQ(changes, 4);
    Mouse(WM_LBUTTONUP, 0, 19);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(SliderTest, GrooveShowsForeColourLeftAndBackColourRightOfTheHandle) {
    EXPECT_EQ(At(60, 9), RGB(200, 200, 0)) << "the default colours";
    EXPECT_EQ(At(200, 9), RGB(0, 0, 0));
    const COLORREF lipAbove = At(60, 5);
    slider.SetForeColor(RGB(0, 0, 255));
    slider.SetBackColor(RGB(255, 255, 255));
    EXPECT_EQ(changes, 2);
    for (int y = 6; y <= 12; ++y) {
        EXPECT_EQ(At(60, y), RGB(0, 0, 255)) << "row " << y;
        EXPECT_EQ(At(200, y), RGB(255, 255, 255)) << "row " << y;
    }
    EXPECT_EQ(At(60, 5), lipAbove) << "the bevel keeps its shade";
    slider.SetValue(20);
    EXPECT_EQ(At(200, 9), RGB(0, 0, 255)) << "the boundary moves with the handle";
}

TEST_F(SliderTest, SizeIsHeldToItsMinimumAndTheHandleRedrawnAtTheNewWidth) {
    slider.Move(8, 32, 40, 50);
    EXPECT_EQ(slider.Width(), 63);
    EXPECT_EQ(slider.Height(), 20);
    ::MoveWindow(slider.hwnd(), 8, 32, 200, 5, TRUE);
    EXPECT_EQ(slider.Width(), 200);
    EXPECT_EQ(slider.Height(), 20);
    EXPECT_EQ(slider.HandleLeft(), *SliderHandleLeft(200, 10, 1, 20));
}
