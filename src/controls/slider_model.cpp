#include "controls/slider_model.h"

#include "base/dpi.h"
#include "base/numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qorvic {

namespace {

constexpr std::int32_t kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int32_t kInt16Max = std::numeric_limits<std::int16_t>::max();

// The track the handle's left edge travels along: the width less both caps and the handle.
double TrackLength(double widthPx, const SliderMetrics& m) {
    return widthPx - m.leftCapWidth - m.rightCapWidth - m.handleWidth;
}

// Pixel positions stay far inside int even for absurd widths.
int ClampToPixel(double value) {
    constexpr double kLimit = 1e9;
    return static_cast<int>(std::clamp(RoundHalfEven(value), -kLimit, kLimit));
}

std::int16_t ClampNumberToInt16(std::int64_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, kInt16Min, kInt16Max));
}

std::uint32_t ClampNumberToColour(std::int64_t value) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, 0x00FFFFFF));
}

const StoredProperty* Find(const StoredProperties& bag, const char* name) {
    for (const StoredProperty& p : bag)
        if (p.name == name)
            return &p;
    return nullptr;
}

} // namespace

SliderMetrics SliderMetricsForDpi(int dpi) {
    SliderMetrics m;
    m.leftCapWidth = ScaleForDpi(kSliderLeftCapWidth, dpi);
    m.rightCapWidth = ScaleForDpi(kSliderRightCapWidth, dpi);
    m.handleWidth = ScaleForDpi(kSliderHandleWidth, dpi);
    m.handleHeight = ScaleForDpi(kSliderHandleHeight, dpi);
    m.handleTop = ScaleForDpi(kSliderHandleTop, dpi);
    m.height = ScaleForDpi(kSliderHeight, dpi);
    // The groove's rows as a band between scaled edges, so it meets the bevel rows without a gap.
    m.grooveFirstRow = ScaleForDpi(kSliderGrooveFirstRow, dpi);
    m.grooveLastRow = ScaleForDpi(kSliderGrooveLastRow + 1, dpi) - 1;
    m.handleLead = (kSliderHandleWidth / 2.0 + 1.0) * UsableDpi(dpi) / kDesignDpi;
    return m;
}

std::optional<int> SliderHandleLeft(double widthPx, std::int16_t value, std::int16_t min,
                                    std::int16_t max, const SliderMetrics& metrics) {
    // The range is taken in 32 bits: Max - Min of two 16-bit values can exceed 16 bits.
    const std::int32_t range = std::int32_t{max} - std::int32_t{min};
    if (range == 0)
        return std::nullopt;
    const double track = TrackLength(widthPx, metrics);
    const double a = RoundHalfEven(static_cast<double>(value) / range * track);
    const double b = RoundHalfEven(metrics.handleLead + a);
    return ClampToPixel(b - static_cast<double>(min) / range * track);
}

std::int16_t SliderDragValue(double xPx, double widthPx, std::int16_t min, std::int16_t max,
                             const SliderMetrics& metrics) {
    const double track = TrackLength(widthPx, metrics);
    // The handle's centre follows the pointer: the handle's width at 96 DPI,
    // and the scaled lead's counterpart elsewhere.
    const double p = xPx - (metrics.handleWidth / 2.0 - 1.0 + metrics.handleLead);
    if (std::isnan(p))
        return min;
    double raw;
    if (track > 0.0) {
        const std::int32_t range = std::int32_t{max} - std::int32_t{min};
        raw = RoundHalfEven(p / track * range);
    } else {
        // No track to travel along: either end, by the side the pointer is on.
        raw = p > 0.0 ? std::numeric_limits<double>::infinity()
                      : -std::numeric_limits<double>::infinity();
    }
    // Min + raw is formed wide and then limited, so a pointer far outside the
    // control lands on an end instead of overflowing.
    const double wanted = static_cast<double>(min) + raw;
    return static_cast<std::int16_t>(
        std::clamp(wanted, static_cast<double>(min), static_cast<double>(max)));
}

SliderSize SliderLimitSize(SliderSize requested, const SliderMetrics& metrics) {
    return {std::max(requested.width, metrics.MinWidth()), metrics.height};
}

void SliderModel::Notify(SliderProperty what) const {
    if (Assigned)
        Assigned(what);
}

void SliderModel::SetValue(std::int16_t value) {
    value_ = value;
    if (value_ < min_)
        value_ = min_;
    if (value_ > max_)
        value_ = max_;
    Notify(SliderProperty::Value);
}

void SliderModel::SetMax(std::int16_t max) {
    std::int32_t wanted = max;
    if (wanted <= min_)
        wanted = std::int32_t{min_} + 1;
    if (wanted > kInt16Max) {
        // Min already at the top of the 16-bit range: keep the range one wide
        // at the top instead of overflowing.
        wanted = kInt16Max;
        min_ = static_cast<std::int16_t>(kInt16Max - 1);
    }
    max_ = static_cast<std::int16_t>(wanted);
    value_ = std::clamp(value_, min_, max_);
    Notify(SliderProperty::Max);
}

void SliderModel::SetMin(std::int16_t min) {
    std::int32_t wanted = min;
    if (wanted >= max_)
        wanted = std::int32_t{max_} - 1;
    if (wanted < kInt16Min) {
        wanted = kInt16Min;
        max_ = static_cast<std::int16_t>(kInt16Min + 1);
    }
    min_ = static_cast<std::int16_t>(wanted);
    value_ = std::clamp(value_, min_, max_);
    Notify(SliderProperty::Min);
}

void SliderModel::SetBackColor(std::uint32_t colour) {
    backColor_ = colour;
    Notify(SliderProperty::BackColor);
}

void SliderModel::SetForeColor(std::uint32_t colour) {
    foreColor_ = colour;
    Notify(SliderProperty::ForeColor);
}

bool SliderModel::MouseMove(bool leftButton, bool otherButton, double xPx, double widthPx,
                            const SliderMetrics& metrics) {
    if (!leftButton || otherButton)
        return false;
    value_ = SliderDragValue(xPx, widthPx, min_, max_, metrics);
    Notify(SliderProperty::Drag);
    return true;
}

void SliderModel::Initialise() {
    value_ = kSliderDefaultValue;
    max_ = kSliderDefaultMax;
    min_ = kSliderDefaultMin;
    backColor_ = kSliderDefaultBackColor;
    foreColor_ = kSliderDefaultForeColor;
}

void SliderModel::ReadProperties(const StoredProperties& bag) {
    // Value goes first, so it is limited by the range in force before the
    // stored Max and Min arrive; hosts that store a Value rely on this order.
    const auto number = [&bag](const char* name, std::int64_t fallback) {
        const StoredProperty* p = Find(bag, name);
        return p ? p->value : fallback;
    };
    SetValue(ClampNumberToInt16(number("Value", kSliderDefaultValue)));
    SetMax(ClampNumberToInt16(number("Max", kSliderDefaultMax)));
    SetMin(ClampNumberToInt16(number("Min", kSliderDefaultMin)));
    SetBackColor(ClampNumberToColour(number("BackColor", kSliderDefaultBackColor)));
    SetForeColor(ClampNumberToColour(number("ForeColor", kSliderDefaultForeColor)));
}

StoredProperties SliderModel::WriteProperties() const {
    StoredProperties bag;
    const auto store = [&bag](const char* name, std::int64_t value, std::int64_t fallback) {
        if (value != fallback)
            bag.push_back({name, value});
    };
    store("Value", value_, kSliderDefaultValue);
    store("Max", max_, kSliderDefaultMax);
    store("Min", min_, kSliderDefaultMin);
    store("BackColor", backColor_, kSliderDefaultBackColor);
    store("ForeColor", foreColor_, kSliderDefaultForeColor);
    return bag;
}

} // namespace qorvic
