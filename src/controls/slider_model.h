// The drawn slider's state and geometry, free of any window: its five
// properties with their clamping rules, where the handle sits, which value a
// drag gives, the size limits and the stored-properties order. Slider
// draws from these numbers; the native tests check them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qorvic {

// Sizes of the five bitmaps the slider is drawn from, in pixels.
inline constexpr int kSliderLeftCapWidth = 11;  // L, PicLeft
inline constexpr int kSliderRightCapWidth = 14; // R, PicRight
inline constexpr int kSliderHandleWidth = 19;   // H, PicHandle
inline constexpr int kSliderHandleHeight = 10;
inline constexpr int kSliderHandleTop = 4;
inline constexpr int kSliderHeight = 20; // the height of PicLeft and of both fill columns
// Rows of the fill columns that form the groove proper and take the groove colours.
inline constexpr int kSliderGrooveFirstRow = 6;
inline constexpr int kSliderGrooveLastRow = 12;
// Narrowest width that still leaves room for the caps and two handle widths.
inline constexpr int kSliderMinWidth =
    kSliderLeftCapWidth + kSliderRightCapWidth + 2 * kSliderHandleWidth;

// The slider's lengths at one DPI: the sizes above at 96 DPI, each scaled by
// dpi / 96 otherwise, so the control keeps its physical size on every screen.
struct SliderMetrics {
    int leftCapWidth = kSliderLeftCapWidth;
    int rightCapWidth = kSliderRightCapWidth;
    int handleWidth = kSliderHandleWidth;
    int handleHeight = kSliderHandleHeight;
    int handleTop = kSliderHandleTop;
    int height = kSliderHeight;
    int grooveFirstRow = kSliderGrooveFirstRow;
    int grooveLastRow = kSliderGrooveLastRow;
    // Where the handle's left edge stands at the range's start, before rounding:
    // half the handle and one pixel at 96 DPI, which is where the left cap ends.
    double handleLead = kSliderHandleWidth / 2.0 + 1.0;
    int MinWidth() const { return leftCapWidth + rightCapWidth + 2 * handleWidth; }
    bool operator==(const SliderMetrics&) const = default;
};
SliderMetrics SliderMetricsForDpi(int dpi);

inline constexpr std::int16_t kSliderDefaultValue = 5;
inline constexpr std::int16_t kSliderDefaultMax = 10;
inline constexpr std::int16_t kSliderDefaultMin = 0;
inline constexpr std::uint32_t kSliderDefaultBackColor = 0x00000000;
inline constexpr std::uint32_t kSliderDefaultForeColor = 0x0000C8C8; // red 200, green 200, blue 0

enum class SliderProperty { Value, Max, Min, BackColor, ForeColor, Drag };

// One stored property as the host's form keeps it: a name and a number.
struct StoredProperty {
    std::string name;
    std::int64_t value = 0;
    bool operator==(const StoredProperty&) const = default;
};
using StoredProperties = std::vector<StoredProperty>;

// The handle's left edge in pixels for a control `widthPx` wide; empty when
// the range is empty (nothing is drawn then). Each of the three steps rounds
// halves to the even neighbour.
std::optional<int> SliderHandleLeft(double widthPx, std::int16_t value, std::int16_t min,
                                    std::int16_t max, const SliderMetrics& metrics = {});

// The value a left-button drag gives with the pointer `xPx` pixels from the
// control's left edge, limited to [min, max].
std::int16_t SliderDragValue(double xPx, double widthPx, std::int16_t min, std::int16_t max,
                             const SliderMetrics& metrics = {});

struct SliderSize {
    int width = 0;
    int height = 0;
    bool operator==(const SliderSize&) const = default;
};
// The size the control takes when asked for `requested`: at least
// kSliderMinWidth wide, always kSliderHeight high (the metrics' values at another DPI).
SliderSize SliderLimitSize(SliderSize requested, const SliderMetrics& metrics = {});

class SliderModel {
public:
    // Runs after every property assignment and every drag step, with the
    // property that was assigned, whether or not anything changed. The control
    // repaints and raises its Change event from here.
    std::function<void(SliderProperty)> Assigned;

    std::int16_t Value() const { return value_; }
    std::int16_t Max() const { return max_; }
    std::int16_t Min() const { return min_; }
    std::uint32_t BackColor() const { return backColor_; }
    std::uint32_t ForeColor() const { return foreColor_; }

    void SetValue(std::int16_t value);
    void SetMax(std::int16_t max);
    void SetMin(std::int16_t min);
    void SetBackColor(std::uint32_t colour);
    void SetForeColor(std::uint32_t colour);

    // A mouse move: only the left button alone drags; anything else is ignored.
    // Returns whether it was a drag step.
    bool MouseMove(bool leftButton, bool otherButton, double xPx, double widthPx,
                   const SliderMetrics& metrics = {});

    // Back to the initial values, without notification (the control draws once afterwards).
    void Initialise();
    // Applies "Value", "Max", "Min", "BackColor", "ForeColor" in this order
    // through the setters; an absent name gives its default. Numbers beyond a
    // property's range are clamped into it.
    void ReadProperties(const StoredProperties& bag);
    // The properties in the same order, leaving out those equal to their default.
    StoredProperties WriteProperties() const;

private:
    void Notify(SliderProperty what) const;

    std::int16_t value_ = kSliderDefaultValue;
    std::int16_t max_ = kSliderDefaultMax;
    std::int16_t min_ = kSliderDefaultMin;
    std::uint32_t backColor_ = kSliderDefaultBackColor;
    std::uint32_t foreColor_ = kSliderDefaultForeColor;
};

} // namespace qorvic
