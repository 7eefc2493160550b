// The menu windows on real windows, driven through their handlers: what a
// release and a hover unload and leave, the edges of the work area, and what
// they draw. Row places, widths and the closing rules are the menu model's
// (native) tests; the pointer at work is tests/e2e/test_menus.sh.
#include "menus/menu_window_win.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <string>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// The frame in English, read from the shipped language file.
class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallLanguages(frame_.AppData());
        ASSERT_TRUE(frame_.Start());
        form = frame_.form.get();
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

TEST_F(MenusTest, OptionsMenuIsATopmostBorderedWindowShowingTheCurrentScale) {
    MenuWindow& menu = OpenOptions();
    ASSERT_TRUE(::IsWindowVisible(menu.hwnd()));
    EXPECT_TRUE(::GetWindowLongPtrW(menu.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const LONG_PTR style = ::GetWindowLongPtrW(menu.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_FALSE(style & WS_DLGFRAME) << "no title bar";
    EXPECT_EQ(menu.rowLabel(3)->Caption(), L"Save to desktop as") << "no marker shows";
    EXPECT_EQ(menu.rowLabel(4)->Caption(), L"Output size 100%");

    // A new scale shows at the next opening, in a new window.
    const HWND first = menu.hwnd();
    form->scalePanel.SetScaleStep(15);
    EXPECT_EQ(OpenOptions().rowLabel(4)->Caption(), L"Output size 150%");
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(LoadedWindowCount(L"QORVICMENU"), 1);

    // Text too wide for any screen still opens a menu.
    form->State().languages.texts.TxtHandOff = std::wstring(600, L'W');
    EXPECT_TRUE(::IsWindowVisible(OpenOptions().hwnd()));
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
    EXPECT_FALSE(::IsWindow(subWindow));
    EXPECT_FALSE(form->Menus().WatchingPressesOutside()) << "the mouse hook outlived the menus";
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
    EXPECT_LT(sub.left, outer.left) << "the submenu opens to the left";
    EXPECT_LE(sub.bottom, area.bottom);
}

TEST_F(MenusTest, EachHoverReplacesTheSubmenuAndUnloadLeavesNoWindowBehind) {
    const int before = LoadedWindowCount(L"");
    for (int i = 0; i < 3; ++i) {
        MenuWindow& menu = OpenOptions();
        MenuWindow* formats = HoverRow(menu, 3);
        ASSERT_NE(formats, nullptr);
        const HWND formatWindow = formats->hwnd();
        ASSERT_NE(HoverRow(menu, 6), nullptr);
        EXPECT_EQ(menu.HighlightedRow(), 6u);
        EXPECT_FALSE(::IsWindow(formatWindow));
        EXPECT_EQ(HoverRow(menu, 3)->MenuNumber(), 3) << "a newly built format menu";
        EXPECT_EQ(LoadedWindowCount(L"QorvicSubmenu"), 1);
        EXPECT_EQ(HoverRow(menu, 4), nullptr) << "row 4 closes the submenu";
        form->Menus().CloseAll();
        Pump();
    }
    EXPECT_EQ(LoadedWindowCount(L""), before);
}

TEST_F(MenusTest, DrawsSeparatorsHighlightCheckMarkAndArrows) {
    const auto painted = [](MenuWindow& menu) {
        RECT client{};
        ::GetClientRect(menu.hwnd(), &client);
        return Pixels(client.right, client.bottom, [&](HDC dc) { menu.PaintContent(dc); });
    };
    const auto marks = [](const Pixels& shown, const Box& box, COLORREF colour) {
        return shown.CountNear(box.left, box.top, box.right(), box.bottom(), colour);
    };
    for (auto glyphs : {MenuWindow::Glyphs::SymbolFontWhenInstalled, MenuWindow::Glyphs::Drawn}) {
        SCOPED_TRACE(glyphs == MenuWindow::Glyphs::Drawn ? "drawn glyphs" : "symbol font");
        MenuWindow& menu = OpenOptions();
        menu.SetGlyphs(glyphs);
        MenuWindow* languages = HoverRow(menu, 6);
        ASSERT_NE(languages, nullptr);
        languages->SetGlyphs(glyphs);
        const auto& rows = menu.Layout().rows;
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        const Pixels first = painted(menu);
        // A line across the whole width under rows 3, 4 and 5.
        for (std::size_t i : {3u, 4u, 5u})
            for (int x : {0, first.Width() - 1})
                EXPECT_NE(first.At(x, *rows[i].greyLineY), face) << "row " << i;
        // The highlight on row 6, light blue near its foot.
        const COLORREF foot = first.At(5, rows[6].top + menu.ItemHeight() - 3);
        EXPECT_GT(GetBValue(foot) - GetRValue(foot), 40);
        EXPECT_EQ(first.At(5, rows[2].top + 5), face);
        // Arrows on rows 3 and 6 only.
        const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
        EXPECT_GT(marks(first, rows[3].arrow, text), 4);
        EXPECT_GT(marks(first, rows[6].arrow, text), 4);
        EXPECT_EQ(marks(first, rows[4].arrow, text), 0);
        // The check mark on English and nowhere else.
        const Pixels second = painted(*languages);
        const auto& subRows = languages->Layout().rows;
        const COLORREF mark = ::GetSysColor(COLOR_HIGHLIGHT);
        EXPECT_GT(marks(second, subRows[0].check, mark), 4);
        for (std::size_t i = 1; i < subRows.size(); ++i)
            EXPECT_EQ(marks(second, subRows[i].check, mark), 0) << "row " << i;
        form->Menus().CloseAll();
    }
}
