// The label, check box and button controls on real windows: sizes, fonts,
// pointer and keys, and what they draw; the font and module-path helpers they share.
#include "base/file_io_win.h"
#include "base/window_win.h"
#include "controls/control_font_win.h"
#include "controls/label_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

constexpr COLORREF kBackdrop = RGB(30, 200, 60);
constexpr COLORREF kClassFill = RGB(20, 40, 220);

// A top-level window that paints one known colour, through one paint function
// for WM_PAINT and WM_PRINTCLIENT, as the program's windows do. With
// answerPrint off it leaves WM_PRINTCLIENT to the default and only has a class brush.
class Backdrop : public Window {
public:
    explicit Backdrop(bool answerPrint = true)
        : Window(answerPrint ? Painting::OnBackground : Painting::System) {
        static Brush classBrush(::CreateSolidBrush(kClassFill));
        const wchar_t* cls = answerPrint ? L"QorvicTestBackdrop" : L"QorvicTestPlainParent";
        CreateWin({.className = cls,
                   .title = L"controls test",
                   .style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                   .width = 320,
                   .height = 200,
                   .background = answerPrint ? nullptr : classBrush.get()});
    }

protected:
    void PaintClient(HDC dc) override {
        RECT r;
        ::GetClientRect(hwnd(), &r);
        Brush fill(::CreateSolidBrush(kBackdrop));
        ::FillRect(dc, &r, fill.get());
    }
};

} // namespace

TEST(Label, AutoSizeFollowsCaptionAndFontAndRefusedValuesChangeNothing) {
    Backdrop parent;
    Label label;
    ASSERT_TRUE(label.Create(parent.hwnd(), 10, 10, 5, 5));
    label.SetAutoSize(true);
    label.SetCaption(L"Options");
    const int width = label.Width();
    const int height = label.Height();
    EXPECT_GT(width, 20);
    EXPECT_GT(height, 8);

    label.SetCaption(L"Options and more");
    EXPECT_GT(label.Width(), width);
    EXPECT_EQ(label.Height(), height);

    label.SetCaption(L"Options");
    label.SetFontBold(true);
    EXPECT_GT(label.Width(), width);
    const int boldWidth = label.Width();
    ASSERT_TRUE(label.SetFontSize(16.0f));
    EXPECT_GT(label.Width(), boldWidth);
    EXPECT_GT(label.Height(), height);
    EXPECT_EQ(label.Left(), 10);
    EXPECT_EQ(label.Top(), 10);
    // The window really has that size, not only the numbers.
    RECT client;
    ::GetClientRect(label.hwnd(), &client);
    EXPECT_EQ(client.right, label.Width());
    EXPECT_EQ(client.bottom, label.Height());

    // Which values are refused is the font rules' own test; here, that a refusal
    // keeps the font, the size and the place.
    EXPECT_FALSE(label.SetFontSize(std::nanf("")));
    EXPECT_FALSE(label.SetFontName(L""));
    EXPECT_FALSE(label.Move(1, 2, -5, 10));
    EXPECT_EQ(label.GetFont().size, 16.0f);
    EXPECT_EQ(label.Width(), client.right);
    EXPECT_EQ(label.Height(), client.bottom);
    EXPECT_EQ(label.Left(), 10);
}

TEST(Label, TransparentLabelShowsWhatLiesBehindAroundItsText) {
    Backdrop parent;
    Label label;
    ASSERT_TRUE(label.Create(parent.hwnd(), 20, 20, 120, 30));
    label.SetFontSize(14.0f);
    label.SetCaption(L"Wxyz");
    const Pixels shown = Pixels::Of(label.hwnd());
    EXPECT_EQ(shown.At(118, 28), kBackdrop);
    EXPECT_EQ(shown.At(1, 28), kBackdrop);
    EXPECT_GT(shown.DarkIn(0, 0, 60, 30), 20) << "the caption is drawn";

    label.SetTransparent(false);
    label.SetBackColor(RGB(255, 255, 255));
    EXPECT_EQ(Pixels::Of(label.hwnd()).At(118, 28), RGB(255, 255, 255));
}

TEST(Label, TransparentLabelShowsALowerSiblingAndTheClassBackground) {
    Backdrop parent(false); // leaves WM_PRINTCLIENT unanswered
    Label below;
    ASSERT_TRUE(below.Create(parent.hwnd(), 10, 10, 50, 40));
    below.SetTransparent(false);
    below.SetBackColor(RGB(250, 0, 0));
    Label above;
    ASSERT_TRUE(above.Create(parent.hwnd(), 40, 20, 60, 20));
    above.BringToFront();
    const Pixels shown = Pixels::Of(above.hwnd());
    EXPECT_EQ(shown.At(5, 10), RGB(250, 0, 0)); // over the red label
    EXPECT_EQ(shown.At(40, 10), kClassFill);    // beside it: the parent's class colour
}

TEST(Label, ReportsEachEntryOnceAndReleasesOverItWithButtonShiftAndPosition) {
    Backdrop parent;
    Label label;
    ASSERT_TRUE(label.Create(parent.hwnd(), 10, 10, 80, 20));
    int entries = 0;
    label.onMouseEnter = [&] { ++entries; };
    ::SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, ClientPoint(5, 5));
    ::SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, ClientPoint(6, 5));
    EXPECT_EQ(entries, 1);
    ::SendMessageW(label.hwnd(), WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, ClientPoint(7, 5));
    EXPECT_EQ(entries, 2);

    struct Up {
        int button, shift, x, y;
        bool operator==(const Up&) const = default;
    };
    std::vector<Up> ups;
    int clicks = 0;
    label.onMouseUp = [&](int b, int s, int x, int y) { ups.push_back({b, s, x, y}); };
    label.onClick = [&] { ++clicks; };
    ::SendMessageW(label.hwnd(), WM_RBUTTONUP, MK_SHIFT | MK_CONTROL, ClientPoint(7, 9));
    ::SendMessageW(label.hwnd(), WM_MBUTTONUP, 0, ClientPoint(70, 3));
    Click(label.hwnd(), 4, 4, 5, 6);
    Click(label.hwnd(), 4, 4, 200, 6); // released outside: neither release nor click
    EXPECT_TRUE(ups == (std::vector<Up>{{2, 3, 7, 9}, {4, 0, 70, 3}, {1, 0, 5, 6}}));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(Label, OwnerMayDestroyTheLabelInsideANotification) {
    Backdrop parent;
    auto label = std::make_unique<Label>();
    ASSERT_TRUE(label->Create(parent.hwnd(), 10, 10, 80, 20));
    const HWND hwnd = label->hwnd();
    int clicks = 0;
    label->onMouseUp = [&](int, int, int, int) { label.reset(); };
    label->onClick = [&] { ++clicks; };
    Click(hwnd, 4, 4, 5, 5);
    EXPECT_EQ(label, nullptr);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(clicks, 0);
}

TEST(Label, FurtherArrayElementsTakeTheModelsDesignAndStartHidden) {
    Backdrop parent;
    Label model;
    ASSERT_TRUE(model.Create(parent.hwnd(), 20, 3, 100, 19));
    model.SetCaption(L"Label");
    model.SetFontName(L"Arial");
    model.SetFontSize(9.75f);
    model.SetFontItalic(true);
    model.SetAlignment(2);
    Label element;
    ASSERT_TRUE(element.CreateLike(model, 3));
    EXPECT_EQ(element.Index(), 3);
    EXPECT_FALSE(element.Visible());
    EXPECT_EQ(element.Caption(), L"Label");
    EXPECT_EQ(element.GetFont().name, L"Arial");
    EXPECT_TRUE(element.GetFont().italic);
    EXPECT_EQ(element.Alignment(), 2);
    EXPECT_EQ(::GetParent(element.hwnd()), parent.hwnd());
    EXPECT_EQ(element.Width(), 100);
    element.SetVisible(true);
    EXPECT_TRUE(element.Visible());
}

TEST(CheckBox, ClickTogglesTheValueThenNotifiesOnce) {
    Backdrop parent;
    CheckBox box;
    ASSERT_TRUE(box.Create(parent.hwnd(), 10, 10, 150, 20));
    box.SetCaption(L"Capture screen");
    std::vector<bool> seen;
    box.onClick = [&] { seen.push_back(box.Value()); };

    Click(box.hwnd(), 5, 5, 6, 6);
    EXPECT_TRUE(box.Value());
    Click(box.hwnd(), 100, 5, 100, 5); // on the caption counts too
    EXPECT_FALSE(box.Value());
    Click(box.hwnd(), 5, 5, 5, 60); // released outside
    EXPECT_FALSE(box.Value());
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));

    box.SetValue(true); // by the program: no notification
    EXPECT_TRUE(box.Value());
    EXPECT_EQ(seen.size(), 2u);
}

TEST(CheckBox, TickedSquareIsDrawnInTheAccentColour) {
    Backdrop parent;
    CheckBox box;
    ASSERT_TRUE(box.Create(parent.hwnd(), 10, 10, 150, 21));
    const Pixels empty = Pixels::Of(box.hwnd());
    EXPECT_EQ(empty.At(2, 6), RGB(255, 255, 255));
    EXPECT_EQ(empty.At(148, 1), kBackdrop);
    box.SetValue(true);
    const Pixels ticked = Pixels::Of(box.hwnd());
    EXPECT_EQ(ticked.At(2, 6), RGB(0, 95, 184));
    // Some of the square's inside is the white tick.
    int white = 0;
    for (int y = 5; y < 16; ++y)
        for (int x = 1; x < 12; ++x)
            white += ticked.At(x, y) == RGB(255, 255, 255);
    EXPECT_GE(white, 10);
}

TEST(Button, ClicksOnlyForPressAndReleaseInsideOrItsKeys) {
    Backdrop parent;
    Button button;
    ASSERT_TRUE(button.Create(parent.hwnd(), 200, 64, 80, 28));
    button.SetCaption(L"Close");
    int clicks = 0;
    button.onClick = [&] { ++clicks; };

    Click(button.hwnd(), 10, 10, 70, 20);
    EXPECT_EQ(clicks, 1);
    Click(button.hwnd(), 10, 10, 90, 20); // released beside it
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::GetCapture(), nullptr);
    ::SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, ClientPoint(10, 10)); // release without a press
    EXPECT_EQ(clicks, 1);
    // Capture taken away mid-press (another window, a menu): no click.
    ::SendMessageW(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    ::SetCapture(parent.hwnd());
    ::SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, ClientPoint(10, 10));
    ::ReleaseCapture();
    EXPECT_EQ(clicks, 1);

    ::SendMessageW(button.hwnd(), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(clicks, 1);
    ::SendMessageW(button.hwnd(), WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(clicks, 2);
    ::SendMessageW(button.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(clicks, 3);
}

TEST(Button, LooksFlatAndChangesOnHover) {
    Backdrop parent;
    Button button;
    ASSERT_TRUE(button.Create(parent.hwnd(), 200, 64, 80, 28));
    button.SetCaption(L"Close");
    const Pixels normal = Pixels::Of(button.hwnd());
    EXPECT_EQ(normal.At(0, 0), RGB(173, 173, 173));
    EXPECT_EQ(normal.At(3, 3), RGB(225, 225, 225));
    EXPECT_GT(normal.DarkIn(20, 5, 60, 23), 10) << "the caption is drawn";
    ::SendMessageW(button.hwnd(), WM_MOUSEMOVE, 0, ClientPoint(3, 3));
    const Pixels hover = Pixels::Of(button.hwnd());
    EXPECT_EQ(hover.At(0, 0), RGB(0, 120, 215));
    EXPECT_EQ(hover.At(3, 3), RGB(229, 241, 251));
    ::SendMessageW(button.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Pixels::Of(button.hwnd()).At(3, 3), RGB(225, 225, 225));
}

TEST(Button, FocusIsDrawnOnlyOnceTheKeyboardIsUsed) {
    Backdrop parent;
    Button button;
    ASSERT_TRUE(button.Create(parent.hwnd(), 200, 64, 80, 28));
    button.SetCaption(L"Yes");
    auto dotsOnFocusRow = [&] {
        const Pixels shown = Pixels::Of(button.hwnd());
        int dots = 0;
        for (int x = 3; x < 77; ++x)
            dots += shown.At(x, 3) != RGB(225, 225, 225);
        return dots;
    };
    ::SetFocus(button.hwnd());
    ASSERT_EQ(::GetFocus(), button.hwnd());
    EXPECT_EQ(dotsOnFocusRow(), 0) << "focus taken by the mouse shows no rectangle";
    ::SendMessageW(button.hwnd(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_GT(dotsOnFocusRow(), 10);
    ::SetFocus(parent.hwnd());
    EXPECT_EQ(dotsOnFocusRow(), 0);
}

TEST(SharedHelpers, FontsTakeFaceSizeStyleAndDpiAndTheModulePathNamesThisProgram) {
    struct Case {
        float points;
        bool bold, italic;
        int dpi;
        LONG height; // the LOGFONT height the font must carry
    };
    const Case cases[] = {
        {8.25f, false, false, 96, -11},
        {9.75f, true, false, 144, -20},
        {12.0f, false, true, 192, -32},
        {9.75f, true, true, 240, -33}, // 32.5 pixels: halves away from zero
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const Font font = CreateFontForPoints(L"Arial", c.points, c.bold, c.italic, c.dpi);
        ASSERT_TRUE(font);
        LOGFONTW log{};
        ASSERT_EQ(::GetObjectW(font.get(), sizeof log, &log), static_cast<int>(sizeof log));
        EXPECT_EQ(log.lfHeight, c.height);
        EXPECT_EQ(log.lfWeight, c.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(log.lfItalic != 0, c.italic);
        EXPECT_STREQ(log.lfFaceName, L"Arial");
        EXPECT_EQ(log.lfQuality, CLEARTYPE_QUALITY);
    }

    const std::wstring self = ModulePath();
    ASSERT_GT(self.size(), 4u);
    EXPECT_EQ(self.substr(self.find_last_of(L"\\/") + 1), L"qorvic_win_tests.exe");
    EXPECT_TRUE(PathExists(self));
}
