#include "base/dpi.h"
#include "dpi_checks.h"
#include "languages.h"
#include "menus/menu_model.h"
#include "menus/menu_placement.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qorvic;
using namespace qorvic::menus;
using qorvic::testing::EnglishMenuTexts;
using qorvic::testing::SamePhysicalSize;

namespace {

// Every character 7 pixels wide at 96 DPI: the measured text shows in the width.
MenuBuild Items(std::vector<std::wstring> items, int itemHeight = 19, int dpi = 96) {
    MenuBuild build;
    build.items = std::move(items);
    build.measureText = [dpi](const std::wstring& t) {
        return ScaleForDpi(7 * int(t.size()), dpi);
    };
    build.itemHeight = itemHeight;
    build.twipsPerPixelX = build.twipsPerPixelY = TwipsPerPixelForDpi(dpi);
    build.metrics = ScaledMenuMetrics(dpi);
    return build;
}

MenuLayout Build(std::vector<std::wstring> items, int itemHeight = 19, int dpi = 96) {
    return LayoutMenu(Items(std::move(items), itemHeight, dpi));
}

} // namespace

// Each command is found by its row's place in the list (the frame's commands
// pick the row by OptionsRowAt): the texts must stay in that order.
TEST(MenuItems, EachOptionsRowHoldsTheTextOfItsCommandAndTheScale) {
    const auto t = EnglishMenuTexts();
    EXPECT_EQ(
        OptionsItems(t, 10),
        (std::vector<std::wstring>{t.TxtHandOff, t.TxtCopy, t.TxtSaveAs, t.TxtFormats,
                                   t.TxtScaling + L" 100%=", t.TxtColour + L"=", t.TxtLanguages}));
    EXPECT_EQ(OptionsRowAt(4), OptionsRow::OutputSize);
    EXPECT_FALSE(OptionsRowAt(7));
    EXPECT_EQ(ParseMenuItem(OptionsItems(t, 1)[4]).caption, L"Output size 10%");
}

TEST(MenuItems, MarkersGiveArrowSeparatorAndHidingWhereverTheyStand) {
    const struct {
        const wchar_t *text, *caption;
        bool arrow, separator, hidden;
    } cases[] = {
        {L"Copy>", L"Copy", true, false, false},
        {L"Copy=", L"Copy", false, true, false},
        // Repeated markers; "<" stays in the caption of a row nobody sees.
        {L">>x==y<", L"xy<", true, true, true},
    };
    for (const auto& c : cases) {
        const MenuItem item = ParseMenuItem(c.text);
        EXPECT_EQ(item.caption, c.caption);
        EXPECT_EQ(item.tag, c.text);
        EXPECT_EQ(std::tuple(item.arrow, item.separatorAfter, item.hidden),
                  std::tuple(c.arrow, c.separator, c.hidden))
            << c.text;
    }
}

// The options menu at every scale: rows one under another, separators between
// rows, the highlight over its row only, the columns across the inner width,
// and every length of its physical size.
TEST(MenuMetricsAtDpi, OptionsMenuKeepsItsRowsSeparatorsAndSizeAtEveryScale) {
    const auto items = OptionsItems(EnglishMenuTexts(), 10);
    const MenuLayout at96 = Build(items);
    for (const int dpi : qorvic::testing::kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const int h = ScaleForDpi(19, dpi);
        const MenuLayout l = Build(items, h, dpi);
        ASSERT_EQ(l.rows.size(), 7u);
        EXPECT_TRUE(SamePhysicalSize(l.outerWidth, at96.outerWidth, dpi, 2));
        // The frame, paddings and separators keep their size; the rows are the system's.
        EXPECT_TRUE(SamePhysicalSize(l.outerHeight - 7 * h, at96.outerHeight - 7 * 19, dpi, 2));
        const int inner = l.outerWidth - 2 * ScaledMenuMetrics(dpi).frameThickness;
        for (std::size_t i = 0; i < 7; ++i) {
            const MenuRow& row = l.rows[i];
            // Separators after rows 3, 4, 5: a grey then a white line between the rows.
            EXPECT_EQ(row.greyLineY.has_value(), i >= 3 && i <= 5) << "row " << i;
            const int nextTop = i + 1 < 7 ? l.rows[i + 1].top : l.outerHeight - 2;
            if (row.greyLineY) {
                EXPECT_GE(*row.greyLineY, row.top + h) << "row " << i;
                EXPECT_GT(*row.whiteLineY, *row.greyLineY) << "row " << i;
                EXPECT_LT(*row.whiteLineY, nextTop) << "row " << i;
            }
            EXPECT_GE(nextTop, row.top + h) << "row " << i;
            EXPECT_EQ(RowOffset(l, i), row.top - l.rows[0].top);
            const Box light = HighlightBox(row.top, l.outerWidth, h, ScaledMenuMetrics(dpi));
            EXPECT_LE(light.top, row.top);
            EXPECT_EQ(light.bottom(), row.top + h) << "the highlight covers its row, no more";
            EXPECT_TRUE(light.left < 0 && light.right() > inner);
            EXPECT_TRUE(SamePhysicalSize(row.check.width, 20, dpi));
            EXPECT_EQ(row.check.left, 0);
            EXPECT_EQ(row.text.left, row.check.right());
            EXPECT_EQ(row.text.right(), inner);
            EXPECT_EQ(row.arrow.right(), inner);
        }
    }
}

TEST(MenuLayout, HiddenRowsTakeNoSpaceAndTheFirstItemIsNoException) {
    const MenuLayout l = Build({L"One", L"Two<=>", L"Three"});
    EXPECT_EQ(l.rows[1].top, l.rows[2].top);
    EXPECT_FALSE(l.rows[1].item.arrow || l.rows[1].greyLineY);
    EXPECT_EQ(l.outerHeight, Build({L"One", L"Three"}).outerHeight);
    EXPECT_TRUE(Build({L"Copy=>", L"Two"}).rows[0].greyLineY);
}

TEST(MenuLayout, WidthIsTheWidestFullTextPlusFiftyClampedTo16BitTwips) {
    // The markers are measured too: "Copy=" is wider than "Copy".
    EXPECT_EQ(Build({L"abc", L"Copy=", L"x"}).outerWidth, 5 * 7 + 50);
    EXPECT_TRUE(WidensFirstLevel(L"Japanese"));
    EXPECT_FALSE(WidensFirstLevel(L"japanese"));
    MenuBuild build = Items({L"Save to desktop as>="});
    build.japaneseWidening = true;
    EXPECT_EQ(LayoutMenu(build).outerWidth, 247); // 190 x 1.3
    // A very wide text gives the widest menu 16-bit twips allow, not none.
    build.measureText = [](const std::wstring&) { return 3000; };
    EXPECT_EQ(LayoutMenu(build).outerWidth, 32767 / 15);
    build.twipsPerPixelX = 10;
    build.japaneseWidening = false;
    EXPECT_EQ(LayoutMenu(build).outerWidth, 3050);
}

TEST(MenuPlacement, MenusStayOnTheirWorkArea) {
    const Box area{0, 0, 1920, 1040};
    const struct {
        Point asked;
        int w, h;
        Box area;
        Point placed;
    } cases[] = {
        {{1730, 847}, 190, 193, area, {1730, 847}}, // touching the right and bottom
        {{1800, 900}, 190, 193, area, {1730, 847}},
        {{-40, -5}, 190, 193, area, {0, 0}},
        {{-100, 50}, 190, 193, {-1280, 0, 1280, 1024}, {-190, 50}}, // left of the primary
        {{100, 100}, 3000, 2000, area, {0, 0}}, // larger than the area: top-left wins
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepInside(c.asked, c.w, c.h, c.area), c.placed) << c.asked.x << "," << c.asked.y;
}

// A submenu overlaps its parent's right edge, or its left edge when there is no
// room on the right, by the same physical amount at every scale, level with its row.
TEST(MenuPlacement, SubmenuOverlapsItsParentOnTheSideWithRoom) {
    const Box work{0, 0, 1920, 1080};
    for (const int dpi : qorvic::testing::kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const MenuMetrics m = ScaledMenuMetrics(dpi);
        const int overlap = m.submenuOverlap;
        EXPECT_TRUE(SamePhysicalSize(overlap, 2, dpi));
        EXPECT_EQ(SubmenuCorner({100, 100, 175, 78}, 40, 120, 60, work, m),
                  (Point{275 - overlap, 140}));
        EXPECT_EQ(SubmenuCorner({1700, 100, 175, 78}, 40, 120, 60, work, m),
                  (Point{1700 - 120 + overlap, 140}));
        // Just fitting on the right: stays on the right.
        const int right = 1920 - 120 + overlap;
        EXPECT_EQ(SubmenuCorner({right - 175, 100, 175, 78}, 40, 120, 60, work, m).x, 1800);
        // The first level opens left of the Options label, at the strip's foot.
        const Point first = FirstLevelCorner(15, 28, m);
        EXPECT_TRUE(SamePhysicalSize(15 - first.x, 6, dpi));
        EXPECT_EQ(first.y, 28);
    }
    // Near the bottom: lifted so its last row stays on the screen.
    EXPECT_EQ(SubmenuCorner({100, 900, 190, 193}, 138, 71, 120, work), (Point{288, 960}));
}

TEST(MenuLanguages, CheckMarkFindsTheWholeLanguageNameInAnyLetterCase) {
    const auto& list = qorvic::testing::kEightLanguages;
    const std::pair<const wchar_t*, std::optional<std::size_t>> cases[] = {
        {L"gERMAN", 3}, {L"Spanish", 7}, {L"Germ", std::nullopt}, {L"", std::nullopt}};
    for (const auto& [language, row] : cases)
        EXPECT_EQ(CheckedLanguageRow(list, language), row) << language;
}

TEST(MenuClosing, OnlyAPressOutsideBothMenusClosesTheirEdgesCountingAsInside) {
    const Box r{100, 200, 190, 193};
    for (const Point inside : {Point{100, 200}, Point{290, 393}})
        EXPECT_TRUE(PointerOverRect(inside, r)) << inside.x << "," << inside.y;
    for (const Point outside : {Point{291, 300}, Point{99, 300}, Point{150, 394}})
        EXPECT_FALSE(PointerOverRect(outside, r)) << outside.x << "," << outside.y;
    // Loaded, over the menu, submenu loaded, over it, pressed, pressed outside.
    EXPECT_FALSE(MenusCloseOnTick({true, false, false, false, false})); // moved outside
    EXPECT_TRUE(MenusCloseOnTick({true, false, false, false, true}));
    EXPECT_FALSE(MenusCloseOnTick({true, true, false, false, true}));  // pressed on the menu
    EXPECT_FALSE(MenusCloseOnTick({true, false, true, true, true}));   // on the submenu
    EXPECT_TRUE(MenusCloseOnTick({false, false, false, false, true})); // closed: timer stops
    // A press seen outside when it happened closes, although the pointer is back on a menu.
    EXPECT_TRUE(MenusCloseOnTick({true, true, false, false, false, true}));
    EXPECT_EQ(CountLoadedWindows({L"FrameWindow", L"QorvicMenu"}, L"QORVICMENU"), 1);
}

TEST(MenuGlyphs, DrawnShapesStayInsideTheirBoxes) {
    for (int h : {13, 19, 38}) {
        const MenuRow row = Build({L"Two>"}, h).rows[0];
        // A pen of 2 pixels needs one spare pixel inside the clipped box.
        for (const auto& [shape, box] : {std::pair{DrawnCheckMark(row.check), row.check},
                                         std::pair{DrawnArrow(row.arrow), row.arrow}})
            for (const auto& p : shape)
                EXPECT_TRUE(p.x > box.left && p.x < box.right() - 1 && p.y >= box.top &&
                            p.y < box.bottom() - 1)
                    << "row height " << h;
    }
}
