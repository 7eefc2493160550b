#include "menus/menu_model.h"
#include "menus/menu_placement.h"

#include <gtest/gtest.h>

using namespace qorvic;
using namespace qorvic::menus;

namespace {

// Every character 7 pixels wide: the measured text is visible in the width.
int SevenPerChar(const std::wstring& text) {
    return static_cast<int>(text.size()) * 7;
}

LanguageTexts EnglishTexts() {
    LanguageTexts t;
    t.TxtHandOff = L"Send to Norvane";
    t.TxtCopy = L"Copy to clipboard";
    t.TxtSaveAs = L"Save as...";
    t.TxtFormats = L"Save to desktop as>=";
    t.TxtScaling = L"Output size=";
    t.TxtColour = L"Frame colour...=";
    t.TxtLanguages = L"Language>";
    return t;
}

MenuLayout Build(std::vector<std::wstring> items, int itemHeight = 19, bool japanese = false) {
    MenuBuild build;
    build.items = std::move(items);
    build.measureText = SevenPerChar;
    build.itemHeight = itemHeight;
    build.japaneseWidening = japanese;
    return LayoutMenu(build);
}

int VisibleRows(const MenuLayout& layout) {
    int n = 0;
    for (const MenuRow& row : layout.rows)
        n += row.item.hidden ? 0 : 1;
    return n;
}

const std::vector<std::wstring> kStandardList = {L"English",  L"Dutch",  L"French",  L"German",
                                                 L"Japanese", L"Polish", L"Russian", L"Spanish"};

} // namespace

TEST(MenuItems, OptionsRowsCarryTheScaleAndTheSeparators) {
    const auto items = OptionsItems(EnglishTexts(), 10);
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0], L"Send to Norvane");
    EXPECT_EQ(items[4], L"Output size= 100%=");
    EXPECT_EQ(items[5], L"Frame colour...==");
    EXPECT_EQ(ParseMenuItem(items[4]).caption, L"Output size 100%");
    EXPECT_EQ(OptionsItems(EnglishTexts(), 1)[4], L"Output size= 10%=");
    EXPECT_EQ(OptionsItems(EnglishTexts(), 20)[4], L"Output size= 200%=");
}

TEST(MenuItems, FormatRowsAreTheSixFormatsInOrder) {
    EXPECT_EQ(FormatItems(),
              (std::vector<std::wstring>{L"BMP", L"GIF", L"JPG", L"JP2", L"PNG", L"TIF"}));
}

TEST(MenuItems, MarkersGiveArrowSeparatorAndHiding) {
    const MenuItem arrow = ParseMenuItem(L"Copy>");
    EXPECT_EQ(arrow.caption, L"Copy");
    EXPECT_TRUE(arrow.arrow);
    EXPECT_FALSE(arrow.separatorAfter);
    EXPECT_EQ(arrow.tag, L"Copy>");

    const MenuItem separator = ParseMenuItem(L"Copy=");
    EXPECT_EQ(separator.caption, L"Copy");
    EXPECT_FALSE(separator.arrow);
    EXPECT_TRUE(separator.separatorAfter);

    const MenuItem both = ParseMenuItem(L"A=>");
    EXPECT_EQ(both.caption, L"A");
    EXPECT_TRUE(both.arrow && both.separatorAfter);

    // Markers anywhere and repeated; "<" stays in the caption of a row nobody sees.
    const MenuItem repeated = ParseMenuItem(L">>x==y<");
    EXPECT_EQ(repeated.caption, L"xy<");
    EXPECT_TRUE(repeated.arrow && repeated.separatorAfter && repeated.hidden);
    EXPECT_FALSE(ParseMenuItem(L"Plain").hidden);
}

TEST(MenuLayout, OptionsMenuHasSevenRowsAndThreeSeparators) {
    for (int h : {19, 28}) {
        const MenuLayout l = Build(OptionsItems(EnglishTexts(), 10), h);
        EXPECT_EQ(VisibleRows(l), 7);
        EXPECT_EQ(l.outerHeight, 6 + 7 * h + 24) << "item height " << h;
        // Separators after rows 3, 4, 5: a grey then a white line under each.
        for (std::size_t i = 0; i < 7; ++i) {
            const bool separated = i >= 3 && i <= 5;
            EXPECT_EQ(l.rows[i].greyLineY.has_value(), separated) << "row " << i;
            if (separated) {
                EXPECT_EQ(*l.rows[i].greyLineY, l.rows[i].top + h + 2);
                EXPECT_EQ(*l.rows[i].whiteLineY, l.rows[i].top + h + 3);
                EXPECT_EQ(l.rows[i + 1].top, l.rows[i].top + h + 8);
            }
        }
        EXPECT_TRUE(l.rows[3].item.arrow);
        EXPECT_TRUE(l.rows[6].item.arrow);
        EXPECT_FALSE(l.rows[4].item.arrow);
    }
}

TEST(MenuLayout, FormatMenuHasSixPlainRows) {
    const MenuLayout l = Build(FormatItems());
    EXPECT_EQ(l.outerHeight, 6 + 6 * 19);
    for (const MenuRow& row : l.rows) {
        EXPECT_FALSE(row.item.arrow || row.item.separatorAfter || row.item.hidden);
        EXPECT_FALSE(row.greyLineY);
    }
    EXPECT_EQ(l.rows[4].item.caption, L"PNG");
    EXPECT_EQ(l.outerWidth, 3 * 7 + 50);
}

TEST(MenuLayout, RowGeometryFollowsTheInnerWidth) {
    const MenuLayout l = Build({L"BMP", L"Copy>"});
    const int inner = l.outerWidth - 2;
    EXPECT_EQ(l.rows[0].top, 3);
    EXPECT_EQ(l.rows[1].top, 3 + 19);
    EXPECT_EQ(l.rows[1].check, (Box{0, 22, 20, 19}));
    EXPECT_EQ(l.rows[1].text, (Box{20, 22, inner - 20, 19}));
    EXPECT_EQ(l.rows[1].arrow, (Box{inner - 20, 26, 20, 19}));
}

TEST(MenuLayout, HiddenItemGivesItsRowToTheNext) {
    const MenuLayout l = Build({L"One", L"Two<=>", L"Three", L"Four"});
    EXPECT_EQ(VisibleRows(l), 3);
    EXPECT_EQ(l.rows[1].top, l.rows[2].top);
    EXPECT_FALSE(l.rows[1].item.arrow);
    EXPECT_FALSE(l.rows[1].greyLineY); // its "=" adds no separator either
    EXPECT_EQ(l.outerHeight, 6 + 3 * 19);
    // A hidden first item too.
    EXPECT_EQ(Build({L"<gone", L"Two"}).rows[1].top, 3);
}

TEST(MenuLayout, FirstItemMarkersCountLikeAnyOther) {
    const MenuLayout l = Build({L"Copy=>", L"Two"});
    EXPECT_EQ(l.rows[0].item.caption, L"Copy");
    EXPECT_TRUE(l.rows[0].item.arrow);
    ASSERT_TRUE(l.rows[0].greyLineY);
    EXPECT_EQ(l.rows[1].top, 3 + 19 + 8);
}

TEST(MenuLayout, WidthIsTheWidestFullTextPlusFifty) {
    // The markers are measured too: "Copy=" is wider than "Copy".
    EXPECT_EQ(Build({L"Copy"}).outerWidth, 4 * 7 + 50);
    EXPECT_EQ(Build({L"Copy="}).outerWidth, 5 * 7 + 50);
    // Equal widest texts: the width is that of either one.
    const MenuLayout equal = Build({L"abc", L"Longer", L"Widest", L"x"});
    EXPECT_EQ(equal.maxTextWidth, 6 * 7);
    EXPECT_EQ(equal.outerWidth, 6 * 7 + 50);
    // Nothing wider than 0: the designed width stays.
    MenuBuild empty;
    empty.items = {L"", L""};
    empty.measureText = SevenPerChar;
    empty.designOuterWidth = 304;
    EXPECT_EQ(LayoutMenu(empty).outerWidth, 304);
}

TEST(MenuLayout, JapaneseFirstLevelIsWidenedByExactName) {
    EXPECT_TRUE(WidensFirstLevel(L"Japanese"));
    EXPECT_FALSE(WidensFirstLevel(L"japanese"));
    EXPECT_FALSE(WidensFirstLevel(L"JAPANESE"));
    EXPECT_FALSE(WidensFirstLevel(L"Japanese "));
    const auto items = OptionsItems(EnglishTexts(), 10);
    const MenuLayout plain = Build(items);
    const MenuLayout wide = Build(items, 19, true);
    EXPECT_EQ(plain.outerWidth, 20 * 7 + 50); // "Save to desktop as>=" is widest
    EXPECT_EQ(wide.outerWidth, 247);          // 190 x 1.3
    EXPECT_EQ(wide.outerHeight, plain.outerHeight);
}

TEST(MenuLayout, TooWideTextIsClampedNotRefused) {
    // 3000 pixels + 50 at 15 twips per pixel overflows 16-bit twips.
    MenuBuild build;
    build.items = {L"wide", L"BMP"};
    build.measureText = [](const std::wstring& t) { return t == L"wide" ? 3000 : 21; };
    const MenuLayout at15 = LayoutMenu(build);
    EXPECT_EQ(at15.outerWidth, 32767 / 15);
    EXPECT_EQ(at15.rows.size(), 2u);
    EXPECT_EQ(at15.outerHeight, 6 + 2 * 19);
    build.twipsPerPixelX = 10;
    EXPECT_EQ(LayoutMenu(build).outerWidth, 3050);
    build.japaneseWidening = true;
    EXPECT_EQ(LayoutMenu(build).outerWidth, 32767 / 10);
    // A text of exactly the widest 16-bit width still gets its full width.
    build.japaneseWidening = false;
    build.twipsPerPixelX = 15;
    build.measureText = [](const std::wstring&) { return 2134; };
    EXPECT_EQ(LayoutMenu(build).outerWidth, 2184);
}

TEST(MenuLayout, HighlightCoversTheRowAndTwoPixelsAbove) {
    EXPECT_EQ(HighlightBox(22, 120, 19), (Box{-2, 20, 124, 21}));
}

TEST(MenuPlacement, FormatSubmenuIsLevelWithRowThree) {
    const MenuLayout l = Build(OptionsItems(EnglishTexts(), 10));
    EXPECT_EQ(RowOffset(l, 3), 57);
    EXPECT_EQ(RowOffset(l, 6), 6 * 19 + 24);
    EXPECT_EQ(RowOffset(l, 0), 0);
    const ScreenRect parent{100, 200, 100 + l.outerWidth, 200 + l.outerHeight};
    const ScreenRect screen{0, 0, 1920, 1080};
    EXPECT_EQ(SubmenuCorner(parent, 57, 71, 120, screen), (Point{100 + l.outerWidth - 2, 257}));
}

TEST(MenuPlacement, FirstLevelCornerIsBelowTheStripLeftOfTheLabel) {
    EXPECT_EQ(FirstLevelCorner(10, 19), (Point{4, 19}));
    EXPECT_EQ(FirstLevelCorner(10, 28), (Point{4, 28}));
}

TEST(MenuPlacement, MenusStayOnTheirWorkArea) {
    const ScreenRect area{0, 0, 1920, 1040};
    // Away from the edges: exactly where asked.
    EXPECT_EQ(KeepInside({500, 300}, 190, 193, area), (Point{500, 300}));
    EXPECT_EQ(KeepInside({1730, 847}, 190, 193, area), (Point{1730, 847}));
    // Over the right and the bottom edge: moved back just inside.
    EXPECT_EQ(KeepInside({1800, 900}, 190, 193, area), (Point{1730, 847}));
    // Over the left and top edge (a frame partly off screen).
    EXPECT_EQ(KeepInside({-40, -5}, 190, 193, area), (Point{0, 0}));
    // A second monitor left of the primary one has negative coordinates.
    const ScreenRect left{-1280, 0, 0, 1024};
    EXPECT_EQ(KeepInside({-100, 50}, 190, 193, left), (Point{-190, 50}));
    // Larger than the area: the top-left corner wins.
    EXPECT_EQ(KeepInside({100, 100}, 3000, 2000, area), (Point{0, 0}));
}

TEST(MenuPlacement, SubmenuOpensLeftAtTheRightEdge) {
    const ScreenRect area{0, 0, 1920, 1040};
    const ScreenRect parent{1700, 100, 1890, 293};
    EXPECT_EQ(SubmenuCorner(parent, 57, 71, 120, area), (Point{1700 - 71 + 2, 157}));
    // Just fitting on the right: stays on the right.
    const ScreenRect fits{1651, 100, 1851, 293};
    EXPECT_EQ(SubmenuCorner(fits, 57, 71, 120, area), (Point{1849, 157}));
    // Near the bottom: lifted so its last row stays on the screen.
    const ScreenRect low{100, 900, 290, 1093};
    EXPECT_EQ(SubmenuCorner(low, 138, 71, 120, area), (Point{288, 920}));
}

TEST(MenuLanguages, CheckMarkFindsTheLanguageInAnyLetterCase) {
    EXPECT_EQ(CheckedLanguageRow(kStandardList, L"German"), 3u);
    EXPECT_EQ(CheckedLanguageRow(kStandardList, L"GERMAN"), 3u);
    EXPECT_EQ(CheckedLanguageRow(kStandardList, L"german"), 3u);
    EXPECT_EQ(CheckedLanguageRow(kStandardList, L"English"), 0u);
    EXPECT_EQ(CheckedLanguageRow(kStandardList, L"Spanish"), 7u);
    // Whole names only, and a language that is not listed marks nothing.
    EXPECT_FALSE(CheckedLanguageRow(kStandardList, L"Germ"));
    EXPECT_FALSE(CheckedLanguageRow(kStandardList, L"Klingon"));
    EXPECT_FALSE(CheckedLanguageRow(kStandardList, L""));
    EXPECT_FALSE(CheckedLanguageRow({}, L"English"));
}

TEST(MenuClosing, RightAndBottomEdgesCountAsInside) {
    const ScreenRect r{100, 200, 290, 393};
    EXPECT_TRUE(PointerOverRect({100, 200}, r));
    EXPECT_TRUE(PointerOverRect({290, 393}, r));
    EXPECT_TRUE(PointerOverRect({290, 300}, r));
    EXPECT_FALSE(PointerOverRect({291, 300}, r));
    EXPECT_FALSE(PointerOverRect({99, 300}, r));
    EXPECT_FALSE(PointerOverRect({150, 394}, r));
    EXPECT_FALSE(PointerOverRect({150, 199}, r));
}

TEST(MenuClosing, OnlyAPressOutsideBothMenusCloses) {
    EXPECT_FALSE(MenusCloseOnTick({true, false, false, false, false})); // moved outside
    EXPECT_TRUE(MenusCloseOnTick({true, false, false, false, true}));
    EXPECT_FALSE(MenusCloseOnTick({true, true, false, false, true}));  // pressed on the menu
    EXPECT_FALSE(MenusCloseOnTick({true, false, true, true, true}));   // on the submenu
    EXPECT_TRUE(MenusCloseOnTick({false, true, false, false, true}));  // stale: not loaded
    EXPECT_FALSE(MenusCloseOnTick({false, false, true, true, true}));  // second level only
    EXPECT_TRUE(MenusCloseOnTick({false, false, false, false, true})); // closed: timer stops
}

TEST(MenuClosing, LoadedFormsAreCountedByNameIgnoringCase) {
    const std::vector<std::wstring> loaded = {L"Form1", L"frmMenu", L"frmSubMenu"};
    EXPECT_EQ(CountLoadedForms(loaded, L"frmMenu"), 1);
    EXPECT_EQ(CountLoadedForms(loaded, L"FRMMENU"), 1);
    EXPECT_EQ(CountLoadedForms(loaded, L"frmSubMenu"), 1);
    EXPECT_EQ(CountLoadedForms(loaded, L"frmUpdate"), 0);
    EXPECT_EQ(CountLoadedForms(loaded, L""), 3);
    EXPECT_EQ(CountLoadedForms({}, L""), 0);
}

TEST(MenuGlyphs, DrawnShapesStayInsideTheirBoxes) {
    // A pen of 2 pixels needs one spare pixel inside the clipped box.
    const auto inside = [](const std::vector<GlyphPoint>& shape, const Box& box) {
        for (const GlyphPoint& p : shape)
            if (p.x < box.left + 1 || p.x >= box.right() - 1 || p.y < box.top ||
                p.y >= box.bottom() - 1)
                return false;
        return true;
    };
    for (int h : {13, 19, 28}) {
        const MenuLayout sized = Build({L"One", L"Two>"}, h);
        const MenuRow& row = sized.rows[1];
        EXPECT_TRUE(inside(DrawnCheckMark(row.check), row.check)) << "row height " << h;
        EXPECT_TRUE(inside(DrawnArrow(row.arrow), row.arrow)) << "row height " << h;
    }
    const MenuLayout l = Build({L"One", L"Two>"});
    const MenuRow& row = l.rows[1];
    const auto check = DrawnCheckMark(row.check);
    const auto arrow = DrawnArrow(row.arrow);
    ASSERT_EQ(check.size(), 3u);
    ASSERT_EQ(arrow.size(), 3u);
    // The tick goes down, then up higher than it started; the arrow points right.
    EXPECT_GT(check[1].y, check[0].y);
    EXPECT_LT(check[2].y, check[0].y);
    EXPECT_GT(arrow[1].x, arrow[0].x);
    EXPECT_EQ(arrow[0].x, arrow[2].x);
    // Moving the box moves the shapes with it.
    const Box moved{row.check.left + 7, row.check.top + 11, row.check.width, row.check.height};
    EXPECT_EQ(DrawnCheckMark(moved)[0], (GlyphPoint{check[0].x + 7, check[0].y + 11}));
}
