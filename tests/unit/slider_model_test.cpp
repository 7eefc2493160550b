#include "controls/slider_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace qorvic;

namespace {

// The scale slider's geometry on the panel: 285 pixels wide, range 1 to 20.
constexpr double kPanelSliderWidth = 285;

struct Recorder {
    std::vector<SliderProperty> seen;
    explicit Recorder(SliderModel& model) {
        model.Assigned = [this](SliderProperty p) { seen.push_back(p); };
    }
};

SliderModel ScaleSlider() {
    SliderModel m;
    m.SetMax(20);
    m.SetMin(1);
    m.SetValue(10);
    return m;
}

} // namespace

TEST(SliderGeometry, HandleMovesRightBetweenTheCapsAndStandsAt125ForTen) {
    int previous = -1;
    for (std::int16_t v = 1; v <= 20; ++v) {
        const auto x = SliderHandleLeft(kPanelSliderWidth, v, 1, 20);
        ASSERT_TRUE(x.has_value());
        EXPECT_GT(*x, previous) << "value " << v;
        EXPECT_GE(*x, kSliderLeftCapWidth - 1) << "value " << v;
        EXPECT_LE(*x + kSliderHandleWidth, kPanelSliderWidth - kSliderRightCapWidth) << v;
        previous = *x;
    }
    EXPECT_EQ(SliderHandleLeft(kPanelSliderWidth, 1, 1, 20), 11);
    EXPECT_EQ(SliderHandleLeft(kPanelSliderWidth, 10, 1, 20), 125);
    EXPECT_EQ(SliderHandleLeft(kPanelSliderWidth, 20, 1, 20), 251);
    EXPECT_FALSE(SliderHandleLeft(kPanelSliderWidth, 3, 3, 3).has_value()) << "an empty range";
}

TEST(SliderGeometry, EachRoundingStepSendsHalvesToTheEvenNeighbour) {
    // Width 64 gives a track of 20; range 0..8, value 1: a = 2.5 -> 2,
    // b = 9.5 + 2 + 1 = 12.5 -> 12, x = 12 - 0 = 12. Rounding halves up would give 13.
    EXPECT_EQ(SliderHandleLeft(64, 1, 0, 8), 12);
    // Value 3: a = 7.5 -> 8, b = 18.5 -> 18.
    EXPECT_EQ(SliderHandleLeft(64, 3, 0, 8), 18);
    // Min 1 of range 1..9 (D = 8): a = nearest(2 / 8 * 20) = 5, b = 15.5 -> 16,
    // x = nearest(16 - 2.5) = 13.5 -> 14.
    EXPECT_EQ(SliderHandleLeft(64, 2, 1, 9), 14);
}

TEST(SliderGeometry, DragFollowsThePointerAndClampsOutsideTheControl) {
    // Mid-track: p = 120 - 19 = 101, raw = nearest(101 / 241 * 19) = nearest(7.96) = 8.
    const std::pair<double, int> cases[] = {
        {19, 1}, {260, 20}, {-40, 1}, {600, 20}, {120, 9},
    };
    for (const auto& [x, value] : cases)
        EXPECT_EQ(SliderDragValue(x, kPanelSliderWidth, 1, 20), value) << x;
    // Dragging to where a value's handle is drawn gives that value back.
    for (std::int16_t v = 1; v <= 20; ++v) {
        const int x = *SliderHandleLeft(kPanelSliderWidth, v, 1, 20);
        EXPECT_EQ(SliderDragValue(x + kSliderHandleWidth / 2.0 + 1, kPanelSliderWidth, 1, 20), v)
            << "handle left " << x;
    }
    // A track too narrow for the handle still gives an end.
    EXPECT_EQ(SliderDragValue(100, 30, 1, 20), 20);
    EXPECT_EQ(SliderDragValue(0, 30, 1, 20), 1);
}

TEST(SliderGeometry, SizeIsAtLeast63By20AndAlways20High) {
    const std::pair<SliderSize, SliderSize> cases[] = {
        {{40, 50}, {63, 20}},
        {{63, 5}, {63, 20}},
        {{285, 20}, {285, 20}},
        {{-10, -10}, {63, 20}},
    };
    for (const auto& [asked, given] : cases)
        EXPECT_EQ(SliderLimitSize(asked), given);
}

TEST(SliderSetters, RangeSettersPullTheValueInside) {
    SliderModel m; // 0..10, value 5
    m.SetMax(3);
    EXPECT_EQ(m.Max(), 3);
    EXPECT_EQ(m.Value(), 3);
    m.SetMax(-7); // not above Min 0
    EXPECT_EQ(m.Max(), 1);
    EXPECT_EQ(m.Value(), 1);
    m.SetMin(1); // not below Max 1
    EXPECT_EQ(m.Min(), 0);
    m.SetMax(50);
    m.SetValue(2);
    m.SetMin(40);
    EXPECT_EQ(m.Min(), 40);
    EXPECT_EQ(m.Value(), 40);
    m.SetValue(99);
    EXPECT_EQ(m.Value(), 50);
    m.SetValue(-99);
    EXPECT_EQ(m.Value(), 40);
}

TEST(SliderSetters, EveryAssignmentNotifiesAndTheHostsStartUpOrderEndsAtTenOfOneToTwenty) {
    SliderModel m;
    Recorder r(m);
    m.SetMax(20);
    EXPECT_EQ(m.Value(), 5) << "value must not move while it is inside the new range";
    m.SetMin(1);
    m.SetValue(10);
    m.SetValue(10); // no change, still a notification
    m.SetBackColor(0);
    m.SetForeColor(0x123456);
    EXPECT_EQ(r.seen,
              (std::vector<SliderProperty>{SliderProperty::Max, SliderProperty::Min,
                                           SliderProperty::Value, SliderProperty::Value,
                                           SliderProperty::BackColor, SliderProperty::ForeColor}));
    EXPECT_EQ(m.Value(), 10);
    EXPECT_EQ(m.Min(), 1);
    EXPECT_EQ(m.Max(), 20);
}

TEST(SliderDrag, OnlyTheLeftButtonAloneDragsAndEveryStepNotifies) {
    SliderModel m = ScaleSlider();
    Recorder r(m);
    EXPECT_FALSE(m.MouseMove(false, false, 260, kPanelSliderWidth));
    EXPECT_FALSE(m.MouseMove(false, true, 260, kPanelSliderWidth)); // right button
    EXPECT_FALSE(m.MouseMove(true, true, 260, kPanelSliderWidth));  // left with right
    EXPECT_EQ(m.Value(), 10);
    EXPECT_TRUE(r.seen.empty());

    EXPECT_TRUE(m.MouseMove(true, false, 260, kPanelSliderWidth));
    EXPECT_EQ(m.Value(), 20);
    EXPECT_TRUE(m.MouseMove(true, false, 261,
                            kPanelSliderWidth)); // same value, still a step
    EXPECT_EQ(m.Value(), 20);
    EXPECT_TRUE(m.MouseMove(true, false, -500, kPanelSliderWidth));
    EXPECT_EQ(m.Value(), 1);
    EXPECT_EQ(r.seen, (std::vector<SliderProperty>(3, SliderProperty::Drag)));
}

TEST(SliderStoredProperties, AnEmptyBagGivesTheDefaultsInTheirOrder) {
    SliderModel m = ScaleSlider();
    m.SetBackColor(0xFFFFFF);
    Recorder r(m);
    m.ReadProperties({});
    EXPECT_EQ(r.seen, (std::vector<SliderProperty>{SliderProperty::Value, SliderProperty::Max,
                                                   SliderProperty::Min, SliderProperty::BackColor,
                                                   SliderProperty::ForeColor}));
    EXPECT_EQ(m.Max(), 10);
    EXPECT_EQ(m.Min(), 0);
    EXPECT_EQ(m.Value(), 5);
    EXPECT_EQ(m.BackColor(), 0u);
    EXPECT_EQ(m.ForeColor(), 0x0000C8C8u);
}

TEST(SliderStoredProperties, ValueIsAppliedBeforeTheStoredRange) {
    SliderModel m;
    m.ReadProperties({{"Max", 20}, {"Value", 15}});
    EXPECT_EQ(m.Max(), 20);
    EXPECT_EQ(m.Value(), 10) << "Value is limited by the range in force when it arrives";
}

TEST(SliderStoredProperties, WritesNonDefaultsInOrderAndReadsThemBack) {
    SliderModel m;
    m.SetMin(-4);
    m.SetValue(7);
    m.SetForeColor(0x00102030);
    EXPECT_EQ(m.WriteProperties(),
              (StoredProperties{{"Value", 7}, {"Min", -4}, {"ForeColor", 0x00102030}}));

    SliderModel copy;
    copy.ReadProperties(m.WriteProperties());
    EXPECT_EQ(copy.Value(), 7);
    EXPECT_EQ(copy.Min(), -4);
    EXPECT_EQ(copy.Max(), 10);
    EXPECT_EQ(copy.BackColor(), 0u);
    EXPECT_EQ(copy.ForeColor(), 0x00102030u);
    EXPECT_TRUE(SliderModel{}.WriteProperties().empty());
}

TEST(SliderStoredProperties, NumbersOutsideAPropertysRangeAreClamped) {
    SliderModel m;
    m.ReadProperties(
        {{"Max", 100000}, {"Min", -100000}, {"BackColor", -1}, {"ForeColor", 1LL << 40}});
    EXPECT_EQ(m.Max(), 32767);
    EXPECT_EQ(m.Min(), -32768);
    EXPECT_EQ(m.BackColor(), 0u);
    EXPECT_EQ(m.ForeColor(), 0x00FFFFFFu);
}

TEST(SliderOverflow, TheWidestRangeDrawsAndDragsWithoutWrapping) {
    SliderModel m;
    m.SetMax(32767);
    m.SetMin(-32768); // Max - Min = 65535 does not fit in 16 bits
    m.SetValue(32767);
    const auto right = SliderHandleLeft(kPanelSliderWidth, m.Value(), m.Min(), m.Max());
    const auto left = SliderHandleLeft(kPanelSliderWidth, -32768, m.Min(), m.Max());
    const auto middle = SliderHandleLeft(kPanelSliderWidth, 0, m.Min(), m.Max());
    ASSERT_TRUE(right && left && middle);
    EXPECT_NEAR(*right - *left, 241, 1) << "the handle spans the whole track";
    EXPECT_GT(*middle, *left);
    EXPECT_LT(*middle, *right);

    // Min + raw leaves 16 bits on both sides: clamped to the ends.
    m.MouseMove(true, false, 5000, kPanelSliderWidth);
    EXPECT_EQ(m.Value(), 32767);
    m.MouseMove(true, false, -5000, kPanelSliderWidth);
    EXPECT_EQ(m.Value(), -32768);
    m.MouseMove(true, false, 260, kPanelSliderWidth);
    EXPECT_EQ(m.Value(), 32767);
}

TEST(SliderOverflow, RangeEndsAtTheLimitsStayOneApart) {
    SliderModel m;
    m.SetMax(32767);
    m.SetMin(32767); // Min = Max - 1
    EXPECT_EQ(m.Min(), 32766);
    m.SetMax(-32768); // Max = Min + 1
    EXPECT_EQ(m.Max(), 32767);
    SliderModel low;
    low.SetMin(-32768);
    low.SetMax(-32768);
    EXPECT_EQ(low.Max(), -32767);
    low.SetMin(32767);
    EXPECT_EQ(low.Min(), -32768);
    EXPECT_EQ(low.Value(), -32767);
}
