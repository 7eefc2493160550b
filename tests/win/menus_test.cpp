// The menu windows on real windows, driven through their handlers: sizes and
// places, the check mark, the edges of the work area, and what an unload leaves.
#include "menus/menu_window_win.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

RECT OuterRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

// The frame in English, read from the shipped language file.
class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallLanguages(frame_.AppData());
        ASSERT_TRUE(
            WriteFileAtomically(frame_.AppData() + L"Qorvic\\Qorvic.cfg", "0\r\nEnglish\r\n"));
        ASSERT_TRUE(frame_.Start());
        form = frame_.form.get();
        ASSERT_EQ(form->State().languages.texts.TxtHandOff, L"Send to Norvane");
        Pump();
    }
    void TearDown() override {
        if (form)
            form->Shutdown();
        Pump();
    }

    MenuWindow& OpenOptions() {
        form->Menus().OpenOptionsMenu();
        MenuWindow* menu = form->Menus().FirstLevel();
        EXPECT_NE(menu, nullptr);
        return *menu;
    }
    // What the hover on first-level row `row` does.
    MenuWindow* HoverRow(MenuWindow& menu, std::size_t row) {
        menu.rowLabel(row)->onMouseEnter();
        return form->Menus().SecondLevel();
    }

    TestFrame frame_;
    FrameWindow* form = nullptr;
};

} // namespace

TEST_F(MenusTest, OptionsMenuHasItsSevenRowsInPlace) {
    // Where it opens and how high: the pointer-driven tests/e2e/test_menus.sh.
    MenuWindow& menu = OpenOptions();
    ASSERT_TRUE(::IsWindowVisible(menu.hwnd()));
    const RECT outer = OuterRect(menu.hwnd());
    const int h = menu.ItemHeight();
    EXPECT_EQ(h, ::GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(outer.right - outer.left, menu.Layout().maxTextWidth + 50);
    EXPECT_TRUE(::GetWindowLongPtrW(menu.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const LONG_PTR style = ::GetWindowLongPtrW(menu.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_FALSE(style & WS_DLGFRAME) << "no title bar";

    // Captions without the markers; the full texts kept as tags; labels on their rows.
    EXPECT_EQ(menu.rowLabel(3)->Caption(), L"Save to desktop as");
    EXPECT_EQ(menu.rowLabel(3)->Tag(), L"Save to desktop as>=");
    EXPECT_EQ(menu.rowLabel(4)->Caption(), L"Output size 100%");
    EXPECT_EQ(menu.rowLabel(4)->Top(), 3 + 4 * h + 8);
    EXPECT_EQ(menu.rowLabel(6)->Top(), 3 + 6 * h + 24);
    EXPECT_EQ(menu.rowLabel(6)->Left(), 20);
    RECT client{};
    ::GetClientRect(menu.hwnd(), &client);
    EXPECT_EQ(menu.rowLabel(6)->Width(), client.right - 20);
    EXPECT_EQ(LoadedWindowCount(L"QorvicMenu"), 1);
    EXPECT_EQ(LoadedWindowCount(L"QORVICMENU"), 1);
    EXPECT_EQ(LoadedWindowCount(L"QorvicSubmenu"), 0);

    // A new scale shows at the next opening, in a new window.
    const HWND first = menu.hwnd();
    form->scalePanel.SetScaleStep(15);
    MenuWindow& again = OpenOptions();
    EXPECT_EQ(again.rowLabel(4)->Caption(), L"Output size 150%");
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(LoadedWindowCount(L"QorvicMenu"), 1);
}

TEST_F(MenusTest, CheckMarkFollowsTheCurrentLanguageAndIsLeftOutWhenItIsMissing) {
    MenuWindow& menu = OpenOptions();
    form->State().languages.CurrentLanguage = L"GERMAN";
    MenuWindow* languages = HoverRow(menu, 6);
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(languages->CheckedRow(), 3u);

    form->State().languages.CurrentLanguage = L"Klingon";
    languages = HoverRow(menu, 6);
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(::IsWindowVisible(languages->hwnd())) << "the menu opens without a check mark";
    EXPECT_FALSE(languages->CheckedRow());
}

TEST_F(MenusTest, ReleaseOverASubmenuRowLeavesOnlyTheSubmenu) {
    MenuWindow& menu = OpenOptions();
    MenuWindow* formats = HoverRow(menu, 3);
    ASSERT_NE(formats, nullptr);
    const HWND subWindow = formats->hwnd();
    // The handler unloads the very window whose label reports the release.
    menu.rowLabel(3)->onMouseUp(1, 0, 5, 5);
    EXPECT_EQ(form->Menus().FirstLevel(), nullptr);
    EXPECT_EQ(LoadedWindowCount(L"QorvicMenu"), 0);
    EXPECT_EQ(form->Menus().SecondLevel(), formats);
    EXPECT_TRUE(::IsWindowVisible(subWindow));
    EXPECT_TRUE(form->Menus().WatchingPressesOutside()) << "the submenu alone is still a menu";
    form->Menus().CloseAll();
    EXPECT_EQ(LoadedWindowCount(L"QorvicSubmenu"), 0);
    EXPECT_FALSE(::IsWindow(subWindow));
    EXPECT_FALSE(form->Menus().WatchingPressesOutside()) << "the mouse hook outlived the menus";
}

namespace {

// Real pointer input at a screen point: a move, and with `buttons` a press or release.
void InputAt(POINT point, DWORD buttons = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = ::MulDiv(point.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = ::MulDiv(point.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    ::SendInput(1, &in, sizeof in);
}

} // namespace

TEST_F(MenusTest, APressOutsideClosesTheMenusThoughAnotherProgramReadsTheKeyState) {
    EXPECT_FALSE(form->Menus().WatchingPressesOutside()) << "a mouse hook without a menu";
    MenuWindow& menu = OpenOptions();
    ASSERT_TRUE(form->Menus().WatchingPressesOutside());
    const RECT outer = OuterRect(menu.hwnd());
    // The gap above row 4 belongs to no row: a click there runs nothing.
    const POINT onMenu{outer.left + 30, outer.top + 1 + menu.Layout().rows[4].top - 4};
    const POINT away{outer.right + 300, outer.bottom + 200};
    // A quick click at `at`, the pointer moved away, and then the key state read
    // on another thread, as a program watching for a drag would.
    const auto quickClick = [&](POINT at) {
        std::atomic<bool> done{false};
        std::thread user([&] {
            InputAt(at);
            InputAt(at, MOUSEEVENTF_LEFTDOWN);
            InputAt(at, MOUSEEVENTF_LEFTUP);
            InputAt(away);
            ::Sleep(100);
            ::GetAsyncKeyState(VK_LBUTTON);
            ::GetAsyncKeyState(VK_RBUTTON);
            done = true;
        });
        PumpUntil([&] { return done.load(); }); // the hook runs on this thread
        user.join();
        Pump();
    };

    quickClick(onMenu);
    form->Menus().OnTimer();
    EXPECT_NE(form->Menus().FirstLevel(), nullptr) << "a press on the menu counted as outside";

    quickClick(away);
    form->Menus().OnTimer();
    EXPECT_EQ(form->Menus().FirstLevel(), nullptr) << "a quick click outside left the menu open";
    EXPECT_FALSE(form->Menus().WatchingPressesOutside()) << "the mouse hook outlived the menus";
}

TEST_F(MenusTest, JapaneseWidensOnlyTheFirstLevel) {
    MenuWindow& english = OpenOptions();
    const RECT plain = OuterRect(english.hwnd());
    const int subWidth = [&] {
        const RECT r = OuterRect(HoverRow(english, 3)->hwnd());
        return int(r.right - r.left);
    }();
    form->State().languages.CurrentLanguage = L"Japanese";
    MenuWindow& japanese = OpenOptions();
    const RECT wide = OuterRect(japanese.hwnd());
    EXPECT_EQ(wide.right - wide.left,
              static_cast<LONG>((plain.right - plain.left) * 13 / 10.0 + 0.5));
    const RECT sub = OuterRect(HoverRow(japanese, 3)->hwnd());
    EXPECT_EQ(sub.right - sub.left, subWidth);
}

TEST_F(MenusTest, TooWideTextStillOpensTheMenu) {
    form->State().languages.texts.TxtHandOff = std::wstring(600, L'W');
    MenuWindow& menu = OpenOptions();
    EXPECT_TRUE(::IsWindowVisible(menu.hwnd()));
    const RECT outer = OuterRect(menu.hwnd());
    EXPECT_EQ(outer.right - outer.left, 32767 / form->State().TwipsPerPixelX);
}

TEST_F(MenusTest, MenusStayOnTheWorkAreaNearItsEdges) {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    // The frame mostly beyond the right edge, its strip near the bottom.
    ::SetWindowPos(form->hwnd(), nullptr, area.right - 100, area.bottom - 60, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    MenuWindow& menu = OpenOptions();
    const RECT outer = OuterRect(menu.hwnd());
    EXPECT_EQ(outer.right, area.right);
    EXPECT_EQ(outer.bottom, area.bottom);
    const RECT sub = OuterRect(HoverRow(menu, 3)->hwnd());
    EXPECT_EQ(sub.right, outer.left + 2) << "the submenu opens to the left";
    EXPECT_LE(sub.bottom, area.bottom);
}

TEST_F(MenusTest, EachHoverReplacesTheSubmenuAndUnloadLeavesNoWindowBehind) {
    const int before = LoadedWindowCount(L"");
    for (int i = 0; i < 25; ++i) {
        MenuWindow& menu = OpenOptions();
        MenuWindow* formats = HoverRow(menu, 3);
        ASSERT_NE(formats, nullptr);
        const HWND formatWindow = formats->hwnd();
        ASSERT_NE(HoverRow(menu, 6), nullptr);
        EXPECT_EQ(menu.HighlightedRow(), 6u);
        EXPECT_FALSE(::IsWindow(formatWindow));
        MenuWindow* again = HoverRow(menu, 3);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->MenuNumber(), 3) << "a newly built format menu";
        EXPECT_EQ(LoadedWindowCount(L"QorvicSubmenu"), 1);
        EXPECT_EQ(HoverRow(menu, 4), nullptr) << "row 4 closes the submenu";
        form->Menus().CloseAll();
        Pump();
    }
    EXPECT_EQ(LoadedWindowCount(L"QorvicMenu"), 0);
    EXPECT_EQ(LoadedWindowCount(L"QorvicSubmenu"), 0);
    EXPECT_EQ(LoadedWindowCount(L""), before);
}

namespace {

// The menu window's own drawing (what lies behind its row labels), as pixels.
Pixels Painted(MenuWindow& menu) {
    RECT client{};
    ::GetClientRect(menu.hwnd(), &client);
    return Pixels(client.right, client.bottom, [&](HDC dc) { menu.PaintContent(dc); });
}

int CountNear(const Pixels& shown, const Box& box, COLORREF colour) {
    return shown.CountNear(box.left, box.top, box.right(), box.bottom(), colour);
}

} // namespace

TEST_F(MenusTest, DrawsSeparatorsHighlightCheckMarkAndArrows) {
    for (auto glyphs : {MenuWindow::Glyphs::SymbolFontWhenInstalled, MenuWindow::Glyphs::Drawn}) {
        SCOPED_TRACE(glyphs == MenuWindow::Glyphs::Drawn ? "drawn glyphs" : "symbol font");
        MenuWindow& menu = OpenOptions();
        menu.SetGlyphs(glyphs);
        MenuWindow* languages = HoverRow(menu, 6);
        ASSERT_NE(languages, nullptr);
        languages->SetGlyphs(glyphs);
        const int h = menu.ItemHeight();
        const auto& rows = menu.Layout().rows;

        const Pixels first = Painted(menu);
        // A grey and a white line across the whole width under rows 3, 4 and 5.
        for (std::size_t i : {3u, 4u, 5u})
            for (int x : {0, first.Width() - 1}) {
                EXPECT_EQ(first.At(x, *rows[i].greyLineY), RGB(200, 200, 200)) << "row " << i;
                EXPECT_EQ(first.At(x, *rows[i].whiteLineY), RGB(255, 255, 255)) << "row " << i;
            }
        // The highlight on row 6: its steel-blue top edge 2 pixels above the row,
        // light blue near its foot, the face colour elsewhere.
        EXPECT_EQ(first.At(5, rows[6].top - 2), RGB(100, 145, 180));
        const COLORREF foot = first.At(5, rows[6].top + h - 3);
        EXPECT_GT(GetBValue(foot) - GetRValue(foot), 40);
        EXPECT_EQ(first.At(5, rows[2].top + 5), ::GetSysColor(COLOR_BTNFACE));
        // Arrows on rows 3 and 6 only.
        const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
        EXPECT_GT(CountNear(first, rows[3].arrow, text), 4);
        EXPECT_GT(CountNear(first, rows[6].arrow, text), 4);
        EXPECT_EQ(CountNear(first, rows[4].arrow, text), 0);

        // The check mark on English, in the highlight colour, and nowhere else.
        const Pixels second = Painted(*languages);
        const auto& subRows = languages->Layout().rows;
        const COLORREF mark = ::GetSysColor(COLOR_HIGHLIGHT);
        EXPECT_GT(CountNear(second, subRows[0].check, mark), 4);
        for (std::size_t i = 1; i < subRows.size(); ++i)
            EXPECT_EQ(CountNear(second, subRows[i].check, mark), 0) << "row " << i;
        form->Menus().CloseAll();
    }
}
