// The menu windows on real windows, driven through their handlers: sizes and
// places, the check mark, the edges of the work area, and what an unload leaves.
#include "mainwindow/form1_win.h"
#include "menus/menu_window_win.h"
#include "test_support_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qorvic;

namespace {

LanguageTexts EnglishTexts() {
    LanguageTexts t;
    t.LanguageMenu = {L"English",  L"Dutch",  L"French",  L"German",
                      L"Japanese", L"Polish", L"Russian", L"Spanish"};
    t.TxtHandOff = L"Send to Norvane";
    t.TxtCopy = L"Copy to clipboard";
    t.TxtSaveAs = L"Save as...";
    t.TxtFormats = L"Save to desktop as>=";
    t.TxtScaling = L"Output size=";
    t.TxtColour = L"Frame colour...=";
    t.TxtLanguages = L"Language>";
    return t;
}

RECT OuterRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form1::Options options;
        options.appDataFolder = test::FreshFolder(L"menus");
        options.desktopFolder = test::FreshFolder(L"menus desktop");
        form = std::make_unique<Form1>(options);
        form->onEnd = nullptr;
        ASSERT_TRUE(form->Load());
        form->State().texts = EnglishTexts();
        form->State().languageList = EnglishTexts().LanguageMenu;
        form->State().CurrentLanguage = L"English";
        test::Pump();
    }
    void TearDown() override {
        if (form)
            form->Form_Unload();
        form.reset();
        test::Pump();
    }

    MenuWindow& OpenOptions() {
        form->lblOptions_Click();
        MenuWindow* menu = form->Menus().frmMenu();
        EXPECT_NE(menu, nullptr);
        return *menu;
    }
    // What the hover on first-level row `row` does.
    MenuWindow* HoverRow(MenuWindow& menu, std::size_t row) {
        menu.lblMenu(row)->onMouseEnter();
        return form->Menus().frmSubMenu();
    }

    std::unique_ptr<Form1> form;
};

} // namespace

TEST_F(MenusTest, OptionsMenuOpensBelowTheLabelWithSevenRows) {
    MenuWindow& menu = OpenOptions();
    ASSERT_TRUE(::IsWindowVisible(menu.hwnd()));
    POINT corner{form->lblOptions.Left() - 6, form->MenuBarHeight};
    ::ClientToScreen(form->hwnd(), &corner);
    const RECT outer = OuterRect(menu.hwnd());
    EXPECT_EQ(outer.left, corner.x);
    EXPECT_EQ(outer.top, corner.y);
    const int h = menu.ItemHeight();
    EXPECT_EQ(h, ::GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(outer.bottom - outer.top, 6 + 7 * h + 24);
    EXPECT_EQ(outer.right - outer.left, menu.Layout().maxTextWidth + 50);
    EXPECT_TRUE(::GetWindowLongPtrW(menu.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const LONG_PTR style = ::GetWindowLongPtrW(menu.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_FALSE(style & WS_DLGFRAME) << "no title bar";

    // Captions without the markers; the full texts kept as tags; labels on their rows.
    EXPECT_EQ(menu.lblMenu(3)->Caption(), L"Save to desktop as");
    EXPECT_EQ(menu.lblMenu(3)->Tag(), L"Save to desktop as>=");
    EXPECT_EQ(menu.lblMenu(4)->Caption(), L"Output size 100%");
    EXPECT_EQ(menu.lblMenu(4)->Top(), 3 + 4 * h + 8);
    EXPECT_EQ(menu.lblMenu(6)->Top(), 3 + 6 * h + 24);
    EXPECT_EQ(menu.lblMenu(6)->Left(), 20);
    RECT client{};
    ::GetClientRect(menu.hwnd(), &client);
    EXPECT_EQ(menu.lblMenu(6)->Width(), client.right - 20);
    EXPECT_EQ(form->LoadedFormCount(L"frmMenu"), 1);
    EXPECT_EQ(form->LoadedFormCount(L"FRMMENU"), 1);
    EXPECT_EQ(form->LoadedFormCount(L"frmSubMenu"), 0);

    // A new scale shows at the next opening, in a new window.
    const HWND first = menu.hwnd();
    form->ScaleStep = 15;
    MenuWindow& again = OpenOptions();
    EXPECT_EQ(again.lblMenu(4)->Caption(), L"Output size 150%");
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(form->LoadedFormCount(L"frmMenu"), 1);
}

TEST_F(MenusTest, HoverOpensTheSubmenuBesideItsRow) {
    MenuWindow& menu = OpenOptions();
    const RECT outer = OuterRect(menu.hwnd());
    MenuWindow* formats = HoverRow(menu, 3);
    ASSERT_NE(formats, nullptr);
    EXPECT_EQ(menu.HighlightedRow(), 3u);
    const RECT sub = OuterRect(formats->hwnd());
    EXPECT_EQ(sub.left, outer.right - 2);
    EXPECT_EQ(sub.top, outer.top + 3 * menu.ItemHeight());
    EXPECT_EQ(sub.bottom - sub.top, 6 + 6 * menu.ItemHeight());
    EXPECT_EQ(formats->lblMenu(4)->Caption(), L"PNG");
    EXPECT_FALSE(formats->CheckedRow());

    EXPECT_EQ(HoverRow(menu, 4), nullptr) << "row 4 closes the submenu";
    EXPECT_EQ(form->LoadedFormCount(L"frmSubMenu"), 0);

    MenuWindow* languages = HoverRow(menu, 6);
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(OuterRect(languages->hwnd()).top, outer.top + 6 * menu.ItemHeight() + 24);
    EXPECT_EQ(languages->CheckedRow(), 0u);
    EXPECT_EQ(menu.HighlightedRow(), 6u);
}

TEST_F(MenusTest, CheckMarkFollowsTheCurrentLanguageAndIsLeftOutWhenItIsMissing) {
    MenuWindow& menu = OpenOptions();
    form->State().CurrentLanguage = L"GERMAN";
    MenuWindow* languages = HoverRow(menu, 6);
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(languages->CheckedRow(), 3u);

    form->State().CurrentLanguage = L"Klingon";
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
    menu.lblMenu(3)->onMouseUp(1, 0, 5, 5);
    EXPECT_EQ(form->Menus().frmMenu(), nullptr);
    EXPECT_EQ(form->LoadedFormCount(L"frmMenu"), 0);
    EXPECT_EQ(form->Menus().frmSubMenu(), formats);
    EXPECT_TRUE(::IsWindowVisible(subWindow));
    form->CloseMenus();
    EXPECT_EQ(form->LoadedFormCount(L"frmSubMenu"), 0);
    EXPECT_FALSE(::IsWindow(subWindow));
}

TEST_F(MenusTest, JapaneseWidensOnlyTheFirstLevel) {
    MenuWindow& english = OpenOptions();
    const RECT plain = OuterRect(english.hwnd());
    const int subWidth = [&] {
        const RECT r = OuterRect(HoverRow(english, 3)->hwnd());
        return int(r.right - r.left);
    }();
    form->State().CurrentLanguage = L"Japanese";
    MenuWindow& japanese = OpenOptions();
    const RECT wide = OuterRect(japanese.hwnd());
    EXPECT_EQ(wide.right - wide.left,
              static_cast<LONG>((plain.right - plain.left) * 13 / 10.0 + 0.5));
    const RECT sub = OuterRect(HoverRow(japanese, 3)->hwnd());
    EXPECT_EQ(sub.right - sub.left, subWidth);
}

TEST_F(MenusTest, TooWideTextStillOpensTheMenu) {
    form->State().texts.TxtHandOff = std::wstring(600, L'W');
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
    test::Pump();
    MenuWindow& menu = OpenOptions();
    const RECT outer = OuterRect(menu.hwnd());
    EXPECT_EQ(outer.right, area.right);
    EXPECT_EQ(outer.bottom, area.bottom);
    const RECT sub = OuterRect(HoverRow(menu, 3)->hwnd());
    EXPECT_EQ(sub.right, outer.left + 2) << "the submenu opens to the left";
    EXPECT_LE(sub.bottom, area.bottom);
}

TEST_F(MenusTest, UnloadLeavesNoWindowBehind) {
    const int before = form->LoadedFormCount(L"");
    for (int i = 0; i < 25; ++i) {
        MenuWindow& menu = OpenOptions();
        HoverRow(menu, i % 2 ? 3 : 6);
        form->CloseMenus();
        test::Pump();
    }
    EXPECT_EQ(form->LoadedFormCount(L"frmMenu"), 0);
    EXPECT_EQ(form->LoadedFormCount(L"frmSubMenu"), 0);
    EXPECT_EQ(form->LoadedFormCount(L""), before);
}
