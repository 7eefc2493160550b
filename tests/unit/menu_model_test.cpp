#include "language_test_support.h"
#include "menus/menu_model.h"
#include "menus/menu_placement.h"

#include <gtest/gtest.h>

using namespace qorvic;
using namespace qorvic::menus;
using qorvic::testing::EnglishMenuTexts;

namespace {

// Every character 7 pixels wide: the measured text is visible in the width.
int SevenPerChar(const std::wstring& text) {
    return static_cast<int>(text.size()) * 7;
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

} // namespace

TEST(MenuItems, OptionsRowsCarryTheScaleAndTheSeparatorsFormatsAreSix) {
    const auto items = OptionsItems(EnglishMenuTexts(), 10);
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0], L"Send to Norvane");
    EXPECT_EQ(items[4], L"Output size= 100%=");
    EXPECT_EQ(items[5], L"Frame colour...==");
    EXPECT_EQ(ParseMenuItem(items[4]).caption, L"Output size 100%");
    EXPECT_EQ(OptionsItems(EnglishMenuTexts(), 1)[4], L"Output size= 10%=");
    EXPECT_EQ(OptionsItems(EnglishMenuTexts(), 20)[4], L"Output size= 200%=");
    EXPECT_EQ(FormatItems(),
              (std::vector<std::wstring>{L"BMP", L"GIF", L"JPG", L"JP2", L"PNG", L"TIF"}));
}

// Each command is found by its row's place in the list: the row names and
// the texts must stay in the same order.
TEST(MenuItems, EachOptionsRowHoldsTheTextOfItsCommand) {
    const auto texts = EnglishMenuTexts();
    const auto items = OptionsItems(texts, 10);
    const std::pair<OptionsRow, std::wstring> rows[] = {
        {OptionsRow::HandOff, texts.TxtHandOff},
        {OptionsRow::Copy, texts.TxtCopy},
        {OptionsRow::SaveAs, texts.TxtSaveAs},
        {OptionsRow::QuickSaveFormats, texts.TxtFormats},
        {OptionsRow::OutputSize, texts.TxtScaling + L" 100%="},
        {OptionsRow::FrameColour, texts.TxtColour + L"="},
        {OptionsRow::Language, texts.TxtLanguages},
    };
    for (const auto& [row, text] : rows) {
        const std::size_t index = static_cast<std::size_t>(row);
        EXPECT_EQ(OptionsRowAt(index), row);
        EXPECT_EQ(items.at(index), text) << index;
    }
    EXPECT_FALSE(OptionsRowAt(items.size()));
}

TEST(MenuItems, MarkersGiveArrowSeparatorAndHidingWhereverTheyStand) {
    const struct {
        const wchar_t *text, *caption;
        bool arrow, separator, hidden;
    } cases[] = {
        {L"Copy>", L"Copy", true, false, false},
        {L"Copy=", L"Copy", false, true, false},
        {L"A=>", L"A", true, true, false},
        {L"Plain", L"Plain", false, false, false},
        // Repeated markers; "<" stays in the caption of a row nobody sees.
        {L">>x==y<", L"xy<", true, true, true},
    };
    for (const auto& c : cases) {
        const MenuItem item = ParseMenuItem(c.text);
        EXPECT_EQ(item.caption, c.caption);
        EXPECT_EQ(item.tag, c.text);
        EXPECT_EQ(item.arrow, c.arrow) << c.text;
        EXPECT_EQ(item.separatorAfter, c.separator) << c.text;
        EXPECT_EQ(item.hidden, c.hidden) << c.text;
    }
}

TEST(MenuLayout, OptionsMenuHasSevenRowsAndThreeSeparators) {
    for (int h : {19, 28}) {
        const MenuLayout l = Build(OptionsItems(EnglishMenuTexts(), 10), h);
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
        EXPECT_TRUE(l.rows[3].item.arrow && l.rows[6].item.arrow);
        EXPECT_FALSE(l.rows[4].item.arrow);
    }
}

TEST(MenuLayout, FormatMenuHasSixPlainRowsPlacedByTheInnerWidth) {
    const MenuLayout l = Build(FormatItems());
    EXPECT_EQ(l.outerHeight, 6 + 6 * 19);
    EXPECT_EQ(l.outerWidth, 3 * 7 + 50);
    for (const MenuRow& row : l.rows)
        EXPECT_FALSE(row.item.arrow || row.item.separatorAfter || row.item.hidden || row.greyLineY);

    const MenuLayout two = Build({L"BMP", L"Copy>"});
    const int inner = two.outerWidth - 2;
    EXPECT_EQ(two.rows[0].top, 3);
    EXPECT_EQ(two.rows[1].top, 3 + 19);
    EXPECT_EQ(two.rows[1].check, (Box{0, 22, 20, 19}));
    EXPECT_EQ(two.rows[1].text, (Box{20, 22, inner - 20, 19}));
    EXPECT_EQ(two.rows[1].arrow, (Box{inner - 20, 26, 20, 19}));
}

TEST(MenuLayout, HiddenItemGivesItsRowToTheNextAndTheFirstItemIsNoException) {
    const MenuLayout l = Build({L"One", L"Two<=>", L"Three", L"Four"});
    EXPECT_EQ(VisibleRows(l), 3);
    EXPECT_EQ(l.rows[1].top, l.rows[2].top);
    EXPECT_FALSE(l.rows[1].item.arrow);
    EXPECT_FALSE(l.rows[1].greyLineY); // its "=" adds no separator either
    EXPECT_EQ(l.outerHeight, 6 + 3 * 19);
    EXPECT_EQ(Build({L"<gone", L"Two"}).rows[1].top, 3);

    const MenuLayout first = Build({L"Copy=>", L"Two"});
    EXPECT_EQ(first.rows[0].item.caption, L"Copy");
    EXPECT_TRUE(first.rows[0].item.arrow);
    ASSERT_TRUE(first.rows[0].greyLineY);
    EXPECT_EQ(first.rows[1].top, 3 + 19 + 8);
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
    for (const wchar_t* other : {L"japanese", L"JAPANESE", L"Japanese "})
        EXPECT_FALSE(WidensFirstLevel(other)) << other;
    const auto items = OptionsItems(EnglishMenuTexts(), 10);
    const MenuLayout plain = Build(items), wide = Build(items, 19, true);
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

TEST(MenuPlacement, CornersHighlightAndTheFormatSubmenuLevelWithRowThree) {
    EXPECT_EQ(HighlightBox(22, 120, 19), (Box{-2, 20, 124, 21}));
    EXPECT_EQ(FirstLevelCorner(10, 28), (Point{4, 28}));
    const MenuLayout l = Build(OptionsItems(EnglishMenuTexts(), 10));
    EXPECT_EQ(RowOffset(l, 3), 57);
    EXPECT_EQ(RowOffset(l, 6), 6 * 19 + 24);
    EXPECT_EQ(RowOffset(l, 0), 0);
    const Box parent{100, 200, l.outerWidth, l.outerHeight};
    EXPECT_EQ(SubmenuCorner(parent, 57, 71, 120, {0, 0, 1920, 1080}),
              (Point{100 + l.outerWidth - 2, 257}));
}

TEST(MenuPlacement, MenusStayOnTheirWorkArea) {
    const Box area{0, 0, 1920, 1040};
    const struct {
        const char* what;
        Point asked;
        int w, h;
        Box area;
        Point placed;
    } cases[] = {
        {"away from the edges", {500, 300}, 190, 193, area, {500, 300}},
        {"touching the right and bottom", {1730, 847}, 190, 193, area, {1730, 847}},
        {"over the right and bottom", {1800, 900}, 190, 193, area, {1730, 847}},
        {"over the left and top", {-40, -5}, 190, 193, area, {0, 0}},
        {"on a monitor left of the primary",
         {-100, 50},
         190,
         193,
         {-1280, 0, 1280, 1024},
         {-190, 50}},
        {"larger than the area: top-left wins", {100, 100}, 3000, 2000, area, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepInside(c.asked, c.w, c.h, c.area), c.placed) << c.what;
}

TEST(MenuPlacement, SubmenuOpensLeftAtTheRightEdge) {
    const Box area{0, 0, 1920, 1040};
    EXPECT_EQ(SubmenuCorner({1700, 100, 190, 193}, 57, 71, 120, area), (Point{1700 - 71 + 2, 157}));
    // Just fitting on the right: stays on the right.
    EXPECT_EQ(SubmenuCorner({1651, 100, 200, 193}, 57, 71, 120, area), (Point{1849, 157}));
    // Near the bottom: lifted so its last row stays on the screen.
    EXPECT_EQ(SubmenuCorner({100, 900, 190, 193}, 138, 71, 120, area), (Point{288, 920}));
}

TEST(MenuLanguages, CheckMarkFindsTheWholeLanguageNameInAnyLetterCase) {
    const auto& list = qorvic::testing::kEightLanguages;
    const std::pair<const wchar_t*, std::optional<std::size_t>> cases[] = {
        {L"German", 3},
        {L"GERMAN", 3},
        {L"german", 3},
        {L"English", 0},
        {L"Spanish", 7},
        {L"Germ", std::nullopt},
        {L"Klingon", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& [language, row] : cases)
        EXPECT_EQ(CheckedLanguageRow(list, language), row) << language;
    EXPECT_FALSE(CheckedLanguageRow({}, L"English"));
}

TEST(MenuClosing, RightAndBottomEdgesCountAsInside) {
    const Box r{100, 200, 190, 193};
    for (const Point inside : {Point{100, 200}, Point{290, 393}, Point{290, 300}})
        EXPECT_TRUE(PointerOverRect(inside, r)) << inside.x << "," << inside.y;
    for (const Point outside : {Point{291, 300}, Point{99, 300}, Point{150, 394}, Point{150, 199}})
        EXPECT_FALSE(PointerOverRect(outside, r)) << outside.x << "," << outside.y;
}

TEST(MenuClosing, OnlyAPressOutsideBothMenusCloses) {
    EXPECT_FALSE(MenusCloseOnTick({true, false, false, false, false})); // moved outside
    EXPECT_TRUE(MenusCloseOnTick({true, false, false, false, true}));
    EXPECT_FALSE(MenusCloseOnTick({true, true, false, false, true}));  // pressed on the menu
    EXPECT_FALSE(MenusCloseOnTick({true, false, true, true, true}));   // on the submenu
    EXPECT_TRUE(MenusCloseOnTick({false, true, false, false, true}));  // stale: not loaded
    EXPECT_FALSE(MenusCloseOnTick({false, false, true, true, true}));  // second level only
    EXPECT_TRUE(MenusCloseOnTick({false, false, false, false, true})); // closed: timer stops
    // A press seen outside when it happened closes, although the pointer is back on a menu.
    EXPECT_TRUE(MenusCloseOnTick({true, true, false, false, false, true}));
    EXPECT_TRUE(MenusCloseOnTick({false, false, true, true, false, true}));
}

TEST(MenuClosing, LoadedFormsAreCountedByNameIgnoringCase) {
    const std::vector<std::wstring> loaded = {L"FrameWindow", L"QorvicMenu", L"QorvicSubmenu"};
    const std::pair<const wchar_t*, int> cases[] = {
        {L"QorvicMenu", 1},         {L"QORVICMENU", 1}, {L"QorvicSubmenu", 1},
        {L"QorvicUpdatePrompt", 0}, {L"", 3},
    };
    for (const auto& [name, count] : cases)
        EXPECT_EQ(CountLoadedWindows(loaded, name), count) << name;
    EXPECT_EQ(CountLoadedWindows({}, L""), 0);
}

TEST(MenuGlyphs, DrawnShapesStayInsideTheirBoxes) {
    // A pen of 2 pixels needs one spare pixel inside the clipped box.
    const auto inside = [](const std::vector<Point>& shape, const Box& box) {
        for (const Point& p : shape)
            if (p.x < box.left + 1 || p.x >= box.right() - 1 || p.y < box.top ||
                p.y >= box.bottom() - 1)
                return false;
        return true;
    };
    for (int h : {13, 19, 28}) {
        const MenuRow row = Build({L"One", L"Two>"}, h).rows[1];
        EXPECT_TRUE(inside(DrawnCheckMark(row.check), row.check)) << "row height " << h;
        EXPECT_TRUE(inside(DrawnArrow(row.arrow), row.arrow)) << "row height " << h;
    }
    const MenuRow row = Build({L"One", L"Two>"}).rows[1];
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
    EXPECT_EQ(DrawnCheckMark(moved)[0], (Point{check[0].x + 7, check[0].y + 11}));
}
