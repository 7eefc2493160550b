#include "controls/control_layout.h"

#include "base/dpi.h"

#include <algorithm>

namespace qorvic::controls {

namespace {
constexpr int kSquareAt96 = 13;
constexpr int kCaptionGapAt96 = 5;
// The tick in a 13-pixel square: down from the left, then up to the right.
constexpr std::array<Point, 3> kTickAt96{{{3, 6}, {5, 8}, {10, 3}}};

int Offset(int free, bool centre) {
    return (free > 0 && centre) ? free / 2 : 0;
}
} // namespace

bool IsAlignment(int code) {
    return code == kAlignLeft || code == kAlignRight || code == kAlignCentre;
}

Box PlaceText(const Box& area, int textWidth, int textHeight, int alignment,
              bool centreVertically) {
    const int freeX = area.width - textWidth;
    int x = 0;
    if (freeX > 0) {
        if (alignment == kAlignRight)
            x = freeX;
        else if (alignment == kAlignCentre)
            x = freeX / 2;
    }
    return {area.left + x, area.top + Offset(area.height - textHeight, centreVertically), textWidth,
            textHeight};
}

CheckLayout LayoutCheckBox(const Box& client, int dpi) {
    const int side = ScaleForDpi(kSquareAt96, dpi);
    CheckLayout layout{};
    layout.square = {client.left, client.top + Offset(client.height - side, true), side, side};
    const int captionLeft = layout.square.right() + ScaleForDpi(kCaptionGapAt96, dpi);
    layout.caption = {captionLeft, client.top, std::max(0, client.right() - captionLeft),
                      client.height};
    for (std::size_t i = 0; i < kTickAt96.size(); ++i) {
        // Scale within the square so the tick keeps its place at any DPI.
        layout.tick[i] = {layout.square.left + kTickAt96[i].x * side / kSquareAt96,
                          layout.square.top + kTickAt96[i].y * side / kSquareAt96};
    }
    return layout;
}

Look ButtonLook(const ControlState& state) {
    if (!state.enabled)
        return {Rgb(204, 204, 204), Rgb(191, 191, 191), kDisabledText};
    if (state.pressed)
        return {Rgb(204, 228, 247), Rgb(0, 84, 153), Rgb(0, 0, 0)};
    if (state.hover)
        return {Rgb(229, 241, 251), Rgb(0, 120, 215), Rgb(0, 0, 0)};
    return {Rgb(225, 225, 225), Rgb(173, 173, 173), Rgb(0, 0, 0)};
}

Look CheckSquareLook(const ControlState& state, bool checked) {
    if (!state.enabled)
        return {checked ? Rgb(204, 204, 204) : Rgb(255, 255, 255), Rgb(204, 204, 204),
                kDisabledText};
    if (checked) {
        if (state.pressed)
            return {Rgb(0, 62, 125), Rgb(0, 62, 125), Rgb(0, 0, 0)};
        if (state.hover)
            return {Rgb(0, 95, 184), Rgb(0, 50, 100), Rgb(0, 0, 0)};
        return {Rgb(0, 95, 184), Rgb(0, 95, 184), Rgb(0, 0, 0)};
    }
    if (state.pressed)
        return {Rgb(204, 228, 247), Rgb(0, 84, 153), Rgb(0, 0, 0)};
    if (state.hover)
        return {Rgb(255, 255, 255), Rgb(32, 32, 32), Rgb(0, 0, 0)};
    return {Rgb(255, 255, 255), Rgb(118, 118, 118), Rgb(0, 0, 0)};
}

Look ButtonLook(const ControlState& state, const Palette& system) {
    if (!state.enabled)
        return {system.face, system.grayText, system.grayText};
    const bool active = state.pressed || state.hover;
    return {system.face, active ? system.highlight : system.windowText, system.faceText};
}

Look CheckSquareLook(const ControlState& state, bool checked, const Palette& system) {
    if (!state.enabled)
        return {system.window, system.grayText, system.grayText};
    const bool active = state.pressed || state.hover;
    return {checked ? system.highlight : system.window,
            active ? system.highlight : system.windowText, system.faceText};
}

} // namespace qorvic::controls
