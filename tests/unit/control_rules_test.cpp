#include "base/dpi.h"
#include "controls/control_font.h"
#include "controls/control_input.h"
#include "controls/control_layout.h"
#include "dpi_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <limits>

using namespace qorvic;
using namespace qorvic::controls;

TEST(ControlFont, PointSizesBecomeCharacterHeightsAtTheMonitorDpi) {
    // The designed sizes of labels and buttons at 96 and 144 DPI; halves away from
    // zero (8.25 pt at 144 DPI is 16.5 pixels); one pixel for tiny sizes, as a height
    // of 0 would make GDI jump to its default size; an unknown DPI counts as 96; the
    // largest accepted size still fits.
    const float tiny = std::numeric_limits<float>::min();
    const struct {
        float points;
        int dpi, height;
    } cases[] = {
        {8.25f, 96, -11}, {8.25f, 144, -17}, {8.0f, 96, -11}, {7.8f, 96, -10},
        {0.2f, 96, -1},   {tiny, 96, -1},    {12.0f, 0, -16}, {kMaxFontPoints, 960, -21840},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FontHeightForPoints(c.points, c.dpi), c.height) << c.points << " pt at " << c.dpi;
}

TEST(ControlFont, RefusesSizesAndFaceNamesThatCannotBeDrawn) {
    EXPECT_TRUE(IsAcceptableFontSize(8.25f));
    EXPECT_TRUE(IsAcceptableFontSize(kMaxFontPoints));
    for (float bad : {0.0f, -0.0f, -9.0f, std::nanf(""), std::numeric_limits<float>::infinity(),
                      std::nextafter(kMaxFontPoints, 1e9f)})
        EXPECT_FALSE(IsAcceptableFontSize(bad)) << bad;
    // GDI would cut a name of 32 characters or more, or misread one with a NUL.
    EXPECT_TRUE(IsAcceptableFaceName(L"Tahoma"));
    EXPECT_TRUE(IsAcceptableFaceName(std::wstring(31, L'x')));
    EXPECT_FALSE(IsAcceptableFaceName(L""));
    EXPECT_FALSE(IsAcceptableFaceName(std::wstring(32, L'x')));
    EXPECT_FALSE(IsAcceptableFaceName(std::wstring(L"Arial\0Black", 11)));
}

TEST(HoverTracker, ReportsEachEntryOnceHoweverManyMovesFollow) {
    HoverTracker hover;
    EXPECT_TRUE(hover.Move(true));
    EXPECT_FALSE(hover.Move(true));
    hover.Leave();
    EXPECT_FALSE(hover.Hovering());
    EXPECT_TRUE(hover.Move(true));
    // Dragged out while captured and back in: a new entry.
    EXPECT_FALSE(hover.Move(false));
    EXPECT_TRUE(hover.Move(true));
}

// Events, one letter each: D press inside, M/m move inside/outside, U/u release
// inside/outside, C cancel (capture or focus lost), S Space down, R Space held,
// s Space up, E Enter down, F Enter held, O another key. Each event that can
// click gives a 1 or a 0.
TEST(ClickTracker, OnlyAPressAndReleaseOnTheControlOrAKeyClicks) {
    using Key = ClickTracker::Key;
    const std::pair<const char*, const char*> cases[] = {
        {"DU", "1"},    {"Dmu", "0"}, // dragged off
        {"Du", "0"},   // also when no move came before the release: Windows merges moves
        {"DmMU", "1"}, // off and back on still clicks, as push buttons do
        {"U", "0"},    // a release that had no press here
        {"DCU", "0"},   {"SRss", "0010"}, // Space clicks on its one release
        {"EFO", "100"},                   // Enter at once, without repeating
        {"SCs", "00"},  {"SDsU", "001"},  // a mouse press during a Space press takes over
    };
    using T = ClickTracker;
    const std::map<char, std::function<int(T&)>> act = {
        {'D', [](T& t) { return t.MouseDown(true), -1; }},
        {'M', [](T& t) { return t.MouseMove(true), -1; }},
        {'m', [](T& t) { return t.MouseMove(false), -1; }},
        {'C', [](T& t) { return t.Cancel(), -1; }},
        {'U', [](T& t) { return int(t.MouseUp(true)); }},
        {'u', [](T& t) { return int(t.MouseUp(false)); }},
        {'S', [](T& t) { return int(t.KeyDown(Key::Space, false)); }},
        {'R', [](T& t) { return int(t.KeyDown(Key::Space, true)); }},
        {'s', [](T& t) { return int(t.KeyUp(Key::Space)); }},
        {'E', [](T& t) { return int(t.KeyDown(Key::Enter, false)); }},
        {'F', [](T& t) { return int(t.KeyDown(Key::Enter, true)); }},
        {'O', [](T& t) { return int(t.KeyDown(Key::Other, false)); }},
    };
    for (const auto& [events, clicks] : cases) {
        T t;
        std::string got;
        for (const char* e = events; *e; ++e)
            if (const int click = act.at(*e)(t); click >= 0)
                got += static_cast<char>('0' + click);
        EXPECT_EQ(got, clicks) << events;
    }
    ClickTracker t;
    t.MouseDown(true);
    EXPECT_TRUE(t.LooksPressed());
    t.MouseMove(false);
    EXPECT_FALSE(t.LooksPressed()) << "dragged off: drawn released";
    EXPECT_TRUE(t.MouseHeld());
}

TEST(PlaceText, AlignsWithinTheAreaAndKeepsTheStartOfAnOverlongText) {
    const Box area{10, 20, 100, 30};
    EXPECT_EQ(PlaceText(area, 40, 14, kAlignLeft, false), (Box{10, 20, 40, 14}));
    EXPECT_EQ(PlaceText(area, 40, 14, kAlignRight, false), (Box{70, 20, 40, 14}));
    EXPECT_EQ(PlaceText(area, 41, 14, kAlignCentre, true), (Box{39, 28, 41, 14}));
    // Wider or taller than the area: start at its top left whatever the alignment.
    EXPECT_EQ(PlaceText(area, 150, 40, kAlignRight, true), (Box{10, 20, 150, 40}));
    EXPECT_EQ(PlaceText(area, 150, 14, kAlignCentre, false), (Box{10, 20, 150, 14}));
    EXPECT_TRUE(IsAlignment(2));
    EXPECT_FALSE(IsAlignment(3));
    EXPECT_FALSE(IsAlignment(-1));
}

TEST(CheckBoxLayout, SquareIsCentredBesideTheCaptionAtEveryDpi) {
    for (const int dpi : qorvic::testing::kDpis) {
        SCOPED_TRACE(dpi);
        const Box client{0, 0, 200, 40};
        const CheckLayout layout = LayoutCheckBox(client, dpi);
        EXPECT_TRUE(qorvic::testing::SamePhysicalSize(layout.square.width, 13, dpi));
        EXPECT_EQ(layout.square.height, layout.square.width);
        EXPECT_EQ(layout.square.left, 0);
        EXPECT_LE(
            std::abs((layout.square.top - client.top) - (client.bottom() - layout.square.bottom())),
            1);
        EXPECT_TRUE(
            qorvic::testing::SamePhysicalSize(layout.caption.left - layout.square.right(), 5, dpi));
        EXPECT_EQ(layout.caption.right(), client.right());
        // The tick (two or more pixels thick, drawn downwards) stays inside the border.
        const int thickness = std::max(2, ScaleForDpi(2, dpi));
        for (const Point& p : layout.tick) {
            EXPECT_GT(p.x, layout.square.left);
            EXPECT_LT(p.x, layout.square.right() - 1);
            EXPECT_GT(p.y, layout.square.top);
            EXPECT_LT(p.y + thickness - 1, layout.square.bottom() - 1);
        }
        // Down, then up further to the right.
        EXPECT_GT(layout.tick[1].y, layout.tick[0].y);
        EXPECT_LT(layout.tick[2].y, layout.tick[1].y);
        EXPECT_LT(layout.tick[0].x, layout.tick[1].x);
        EXPECT_LT(layout.tick[1].x, layout.tick[2].x);
    }
}

TEST(CheckBoxLayout, ControlNarrowerOrLowerThanTheSquareGivesNoNegativeCaption) {
    const CheckLayout layout = LayoutCheckBox({0, 0, 8, 6}, 96);
    EXPECT_EQ(layout.square.top, 0);
    EXPECT_EQ(layout.caption.width, 0);
}

TEST(ControlLooks, EachStateIsDistinctAndDisabledWins) {
    const Look hover = ButtonLook({true, true, false});
    const Look pressed = ButtonLook({true, true, true});
    const Look disabled = ButtonLook({false, true, true});
    EXPECT_NE(hover.face, pressed.face); // hover itself: the button's in-process test
    EXPECT_EQ(disabled.text, kDisabledText);
    EXPECT_EQ(disabled.face, ButtonLook({false, false, false}).face);

    // A ticked square stands out from an empty one.
    EXPECT_NE(CheckSquareLook({true, false, false}, false).face,
              CheckSquareLook({true, false, false}, true).face);
}
