#include "base/dpi.h"
#include "controls/control_font.h"
#include "controls/control_input.h"
#include "controls/control_layout.h"

#include <gtest/gtest.h>

#include <cmath>
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
        {8.25f, 96, -11},
        {9.75f, 96, -13},
        {12.0f, 96, -16},
        {9.0f, 144, -18},
        {8.25f, 144, -17},
        {8.0f, 96, -11},
        {7.8f, 96, -10},
        {0.2f, 96, -1},
        {tiny, 96, -1},
        {12.0f, 0, -16},
        {kMaxFontPoints, 960, -21840},
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
    EXPECT_FALSE(hover.Move(true));
    hover.Leave();
    EXPECT_FALSE(hover.Hovering());
    EXPECT_TRUE(hover.Move(true));
    // Dragged out while captured and back in: a new entry.
    EXPECT_FALSE(hover.Move(false));
    EXPECT_TRUE(hover.Move(true));
}

TEST(ClickTracker, MouseClickNeedsPressAndReleaseInside) {
    ClickTracker clicks;
    clicks.MouseDown(true);
    EXPECT_TRUE(clicks.LooksPressed());
    EXPECT_TRUE(clicks.MouseUp(true));

    clicks.MouseDown(true);
    clicks.MouseMove(false);
    EXPECT_FALSE(clicks.LooksPressed()); // dragged off: drawn released
    EXPECT_TRUE(clicks.MouseHeld());
    EXPECT_FALSE(clicks.MouseUp(false));
    // Also when no move came before the release: Windows merges moves.
    clicks.MouseDown(true);
    EXPECT_FALSE(clicks.MouseUp(false));

    // Off and back on before releasing still clicks, as push buttons do.
    clicks.MouseDown(true);
    clicks.MouseMove(false);
    clicks.MouseMove(true);
    EXPECT_TRUE(clicks.MouseUp(true));

    // A release that had no press here is no click.
    EXPECT_FALSE(clicks.MouseUp(true));
    // Nor is a press that was cancelled (capture lost) and then released.
    clicks.MouseDown(true);
    clicks.Cancel();
    EXPECT_FALSE(clicks.MouseUp(true));
}

TEST(ClickTracker, SpaceClicksOnReleaseEnterAtOnce) {
    ClickTracker clicks;
    EXPECT_FALSE(clicks.KeyDown(ClickTracker::Key::Space, false));
    EXPECT_TRUE(clicks.LooksPressed());
    EXPECT_FALSE(clicks.KeyDown(ClickTracker::Key::Space, true));
    EXPECT_TRUE(clicks.KeyUp(ClickTracker::Key::Space));
    EXPECT_FALSE(clicks.KeyUp(ClickTracker::Key::Space)); // one release, one click

    EXPECT_TRUE(clicks.KeyDown(ClickTracker::Key::Enter, false));
    EXPECT_FALSE(clicks.KeyDown(ClickTracker::Key::Enter,
                                true)); // holding Enter does not repeat
    EXPECT_FALSE(clicks.KeyDown(ClickTracker::Key::Other, false));

    // Focus lost with Space down: no click on the later release.
    clicks.KeyDown(ClickTracker::Key::Space, false);
    clicks.Cancel();
    EXPECT_FALSE(clicks.KeyUp(ClickTracker::Key::Space));
    // A mouse press during a Space press takes over; the key release does nothing.
    clicks.KeyDown(ClickTracker::Key::Space, false);
    clicks.MouseDown(true);
    EXPECT_FALSE(clicks.KeyUp(ClickTracker::Key::Space));
    EXPECT_TRUE(clicks.MouseUp(true));
}

TEST(MouseCodes, ShiftStateCombinesItsBits) {
    EXPECT_EQ(ShiftState(false, false, false), 0);
    EXPECT_EQ(ShiftState(true, false, false), 1);
    EXPECT_EQ(ShiftState(false, true, false), 2);
    EXPECT_EQ(ShiftState(false, false, true), 4);
    EXPECT_EQ(ShiftState(true, true, true), 7);
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
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const Box client{0, 0, 200, 40};
        const CheckLayout layout = LayoutCheckBox(client, dpi);
        const int side = ScaleForDpi(13, dpi);
        EXPECT_EQ(layout.square.width, side);
        EXPECT_EQ(layout.square.height, side);
        EXPECT_EQ(layout.square.left, 0);
        EXPECT_LE(
            std::abs((layout.square.top - client.top) - (client.bottom() - layout.square.bottom())),
            1);
        EXPECT_EQ(layout.caption.left, layout.square.right() + ScaleForDpi(5, dpi));
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
    const Look normal = ButtonLook({true, false, false});
    const Look hover = ButtonLook({true, true, false});
    const Look pressed = ButtonLook({true, true, true});
    const Look disabled = ButtonLook({false, true, true});
    EXPECT_NE(normal.face, hover.face);
    EXPECT_NE(hover.face, pressed.face);
    EXPECT_NE(hover.border, pressed.border);
    EXPECT_EQ(disabled.text, kDisabledText);
    EXPECT_EQ(disabled.face, ButtonLook({false, false, false}).face);

    // A ticked square stands out from an empty one, and hover darkens its border.
    const Look empty = CheckSquareLook({true, false, false}, false);
    const Look ticked = CheckSquareLook({true, false, false}, true);
    const Look tickedHover = CheckSquareLook({true, true, false}, true);
    EXPECT_NE(empty.face, ticked.face);
    EXPECT_NE(ticked.face, kTickColour);
    auto brightness = [](std::uint32_t c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + (c >> 16); };
    EXPECT_LT(brightness(tickedHover.border), brightness(ticked.border));
    EXPECT_LT(brightness(CheckSquareLook({true, true, false}, false).border),
              brightness(empty.border));
}
