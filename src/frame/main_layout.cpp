#include "frame/main_layout.h"

#include <algorithm>
#include <cstdint>

namespace qorvic {

namespace {

// A move with a negative size fails, and the control keeps its place.
std::optional<Box> Placed(int left, int top, int width, int height) {
    if (width < 0 || height < 0)
        return std::nullopt;
    return Box{left, top, width, height};
}

} // namespace

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int menuBarHeight,
                             int optionsLabelWidth, int optionsLabelHeight, int dpi) {
    const int margin = ScaleForDpi(6, dpi);
    const int gap = ScaleForDpi(20, dpi);
    MainLayout layout;
    layout.strip = Box{0, 0, clientWidth, menuBarHeight};
    layout.optionsLabelTop = static_cast<float>(menuBarHeight - optionsLabelHeight) / 2.0f;
    layout.optionsLabelLeft = ScaleForDpi(10, dpi);
    layout.wholeScreenBox =
        Placed(optionsLabelWidth + gap, static_cast<int>(layout.optionsLabelTop),
               clientWidth - optionsLabelWidth - gap, optionsLabelHeight);
    // The strip's bottom edge is a 16-bit sum, as the height it comes from.
    const int top = static_cast<std::int16_t>(menuBarHeight + margin);
    layout.seeThroughArea =
        Placed(margin, top, clientWidth - 2 * margin, clientHeight - menuBarHeight - 2 * margin);
    return layout;
}

Outline SeeThroughOutline(int areaWidth, int areaHeight, int dpi) {
    const int inset = ScaleForDpi(1, dpi);
    return Outline{inset, inset, areaWidth - inset, areaHeight - inset};
}

} // namespace qorvic
