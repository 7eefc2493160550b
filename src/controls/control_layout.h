// Geometry and colours of the label, check box and button: where the text goes,
// where the box and its tick go, and which colours each state draws with.
#pragma once

#include "base/geometry.h"

#include <array>
#include <cstdint>

namespace qorvic::controls {

// Horizontal alignment codes of the label.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 1;
inline constexpr int kAlignCentre = 2;

bool IsAlignment(int code);

// Where a text block of `textWidth` x `textHeight` goes inside `area`. A text
// wider (taller) than the area starts at the area's left (top) whatever the
// alignment, so the beginning of a caption is what stays readable.
Box PlaceText(const Box& area, int textWidth, int textHeight, int alignment, bool centreVertically);

// The check box: the square, the caption's area beside it and the tick's three
// points (drawn as a two-pixel-thick polyline from the first to the last).
struct CheckLayout {
    Box square;
    Box caption;
    std::array<Point, 3> tick;
};
CheckLayout LayoutCheckBox(const Box& client, int dpi);

// Colours 0x00BBGGRR.
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
           (static_cast<std::uint32_t>(b) << 16);
}

struct ControlState {
    bool enabled = true;
    bool hover = false;
    bool pressed = false;
};

struct Look {
    std::uint32_t face;
    std::uint32_t border;
    std::uint32_t text;
};

// Disabled wins over pressed, pressed over hover.
Look ButtonLook(const ControlState& state);
// The square of the check box; `text` is the caption's colour.
Look CheckSquareLook(const ControlState& state, bool checked);
inline constexpr std::uint32_t kTickColour = Rgb(255, 255, 255);

// The system colours that high contrast draws with.
struct Palette {
    std::uint32_t face, faceText, window, windowText, highlight, highlightText, grayText;
};
// The looks in high contrast: faces and text in the system's colours, the
// highlight colour where the designed looks show blue.
Look ButtonLook(const ControlState& state, const Palette& system);
Look CheckSquareLook(const ControlState& state, bool checked, const Palette& system);
inline constexpr std::uint32_t kDisabledText = Rgb(131, 131, 131);

} // namespace qorvic::controls
