// The drawn slider's state and geometry, free of any window: its five
// properties with their clamping rules, where the handle sits, which value a
// drag gives, the size limits and the stored-properties order. NiceSlider
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
                                    std::int16_t max);

// The value a left-button drag gives with the pointer `xPx` pixels from the
// control's left edge, limited to [min, max].
std::int16_t SliderDragValue(double xPx, double widthPx, std::int16_t min, std::int16_t max);

struct SliderSize {
    int width = 0;
    int height = 0;
    bool operator==(const SliderSize&) const = default;
};
// The size the control takes when asked for `requested`: at least
// kSliderMinWidth wide, always kSliderHeight high.
SliderSize SliderLimitSize(SliderSize requested);

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
    bool MouseMove(bool leftButton, bool otherButton, double xPx, double widthPx);

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
