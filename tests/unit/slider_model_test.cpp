#include "controls/slider_model.h"
#include "dpi_checks.h"
#include "frame/scale_panel_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace qorvic;
using qorvic::testing::kDpis;
using qorvic::testing::SamePhysicalSize;

namespace {

// The scale slider's geometry on the panel: 285 pixels wide, range 1 to 20.
constexpr double kPanelSliderWidth = 285;

struct Recorder {
    std::vector<SliderProperty> seen;
    explicit Recorder(SliderModel& model) {
        model.Assigned = [this](SliderProperty p) { seen.push_back(p); };
    }
};

std::vector<int> Lengths(const SliderMetrics& m) {
    return {m.leftCapWidth, m.rightCapWidth, m.handleWidth,    m.handleHeight,
            m.handleTop,    m.height,        m.grooveFirstRow, m.grooveLastRow + 1};
}

} // namespace

// On the panel's slider at every scale: the handle moves right between the caps,
// keeps its physical place, and a drag on its middle gives its value back.
TEST(SliderAtDpi, HandleStaysBetweenTheCapsAndADragOnItGivesItsValue) {
    EXPECT_EQ(SliderMetricsForDpi(96), SliderMetrics{});
    for (const int dpi : kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const SliderMetrics m = SliderMetricsForDpi(dpi);
        const std::vector<int> lengths = Lengths(m), designed = Lengths(SliderMetrics{});
        for (std::size_t i = 0; i < lengths.size(); ++i)
            EXPECT_TRUE(SamePhysicalSize(lengths[i], designed[i], dpi)) << "length " << i;
        // The panel's slider is a size the slider keeps: nothing snaps on creation.
        const Box panelSlider = ScalePanelGeometryForDpi(dpi).slider;
        const int width = panelSlider.width;
        EXPECT_EQ(SliderLimitSize({width, panelSlider.height}, m), (SliderSize{width, m.height}));
        EXPECT_EQ(SliderLimitSize({10, 99}, m), (SliderSize{m.MinWidth(), m.height}));
        int previous = -1;
        for (std::int16_t v = 1; v <= 20; ++v) {
            const auto left = SliderHandleLeft(width, v, 1, 20, m);
            ASSERT_TRUE(left);
            EXPECT_GT(*left, previous) << "value " << v;
            EXPECT_GE(*left, m.leftCapWidth - 1) << "value " << v;
            EXPECT_LE(*left + m.handleWidth, width - m.rightCapWidth) << "value " << v;
            // The pointer over the handle's middle, where the user grabs it.
            EXPECT_EQ(SliderDragValue(*left + m.handleWidth / 2.0 - 1.0, width, 1, 20, m), v);
            previous = *left;
        }
        // The knob keeps its physical place.
        EXPECT_TRUE(SamePhysicalSize(*SliderHandleLeft(width, 10, 1, 20, m), 125, dpi, 2));
        EXPECT_EQ(SliderDragValue(-50, width, 1, 20, m), 1);
        EXPECT_EQ(SliderDragValue(width + 50, width, 1, 20, m), 20);
    }
}

TEST(SliderGeometry, EachRoundingSendsHalvesToEvenAndNarrowTracksStillWork) {
    EXPECT_FALSE(SliderHandleLeft(kPanelSliderWidth, 3, 3, 3).has_value()) << "an empty range";
    // Width 64, range 0..8, value 1: a = 2.5 -> 2, b = 12.5 -> 12; halves up would give 13.
    EXPECT_EQ(SliderHandleLeft(64, 1, 0, 8), 12);
    EXPECT_EQ(SliderHandleLeft(64, 2, 1, 9), 14); // x = 13.5 -> 14
    // A track too narrow for the handle still gives an end.
    EXPECT_EQ(SliderDragValue(100, 30, 1, 20), 20);
    EXPECT_EQ(SliderDragValue(0, 30, 1, 20), 1);
    EXPECT_EQ(SliderLimitSize({-10, -10}), (SliderSize{63, 20}));
}

TEST(SliderSetters, RangeSettersPullTheValueInsideAndNeverLeaveAnEmptyRange) {
    SliderModel m; // 0..10, value 5
    m.SetMax(3);
    EXPECT_EQ(m.Value(), 3);
    m.SetMax(-7); // not above Min 0
    EXPECT_EQ(m.Max(), 1);
    EXPECT_EQ(m.Value(), 1);
    m.SetMin(1); // not below Max 1
    EXPECT_EQ(m.Min(), 0);
    m.SetMax(50);
    m.SetMin(40);
    EXPECT_EQ(m.Value(), 40);
    m.SetValue(99);
    EXPECT_EQ(m.Value(), 50);
    // At the 16-bit limits the ends stay one apart.
    SliderModel high;
    high.SetMax(32767);
    high.SetMin(32767);
    EXPECT_EQ(high.Min(), 32766);
    SliderModel low;
    low.SetMin(-32768);
    low.SetMax(-32768);
    EXPECT_EQ(low.Max(), -32767);
}

TEST(SliderSetters, EveryAssignmentAndDragStepNotifiesOnlyTheLeftButtonDrags) {
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
    // A left drag with the right button also down moves nothing. (Drags and
    // their steps through real messages: the slider's in-process test.)
    r.seen.clear();
    EXPECT_FALSE(m.MouseMove(true, true, 260, kPanelSliderWidth));
    EXPECT_EQ(m.Value(), 10);
    EXPECT_TRUE(r.seen.empty());
}

TEST(SliderStoredProperties, DefaultsInTheirOrderNonDefaultsWrittenAndReadBackClamped) {
    SliderModel m;
    m.SetMax(20);
    m.SetBackColor(0xFFFFFF);
    Recorder r(m);
    m.ReadProperties({});
    EXPECT_EQ(r.seen, (std::vector<SliderProperty>{SliderProperty::Value, SliderProperty::Max,
                                                   SliderProperty::Min, SliderProperty::BackColor,
                                                   SliderProperty::ForeColor}));
    EXPECT_TRUE(m.WriteProperties().empty()) << "an empty bag gives the defaults";

    m.SetMin(-4);
    m.SetValue(7);
    m.SetForeColor(0x00102030);
    EXPECT_EQ(m.WriteProperties(),
              (StoredProperties{{"Value", 7}, {"Min", -4}, {"ForeColor", 0x00102030}}));
    SliderModel copy;
    copy.ReadProperties(m.WriteProperties());
    EXPECT_EQ(copy.WriteProperties(), m.WriteProperties());

    // Value comes before the stored range, so the range in force limits it.
    copy.ReadProperties({{"Max", 20}, {"Value", 15}});
    EXPECT_EQ(copy.Value(), 10);
    copy.ReadProperties(
        {{"Max", 100000}, {"Min", -100000}, {"BackColor", -1}, {"ForeColor", 1LL << 40}});
    EXPECT_EQ(copy.Max(), 32767);
    EXPECT_EQ(copy.Min(), -32768);
    EXPECT_EQ(copy.BackColor(), 0u);
    EXPECT_EQ(copy.ForeColor(), 0x00FFFFFFu);
}

TEST(SliderOverflow, TheWidestRangeDrawsAndDragsWithoutWrapping) {
    SliderModel m;
    m.SetMax(32767);
    m.SetMin(-32768); // Max - Min = 65535 does not fit in 16 bits
    const auto right = SliderHandleLeft(kPanelSliderWidth, 32767, m.Min(), m.Max());
    const auto left = SliderHandleLeft(kPanelSliderWidth, -32768, m.Min(), m.Max());
    const auto middle = SliderHandleLeft(kPanelSliderWidth, 0, m.Min(), m.Max());
    ASSERT_TRUE(right && left && middle);
    EXPECT_NEAR(*right - *left, 241, 1) << "the handle spans the whole track";
    EXPECT_TRUE(*left < *middle && *middle < *right);
    m.MouseMove(true, false, 5000, kPanelSliderWidth);
    EXPECT_EQ(m.Value(), 32767);
    m.MouseMove(true, false, -5000, kPanelSliderWidth);
    EXPECT_EQ(m.Value(), -32768);
}
