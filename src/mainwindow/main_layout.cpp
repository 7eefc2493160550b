#include "mainwindow/main_layout.h"

#include <cstdint>

namespace qorvic {

namespace {

// A move with a negative size fails, and the control keeps its place.
std::optional<Rect> Placed(int left, int top, int width, int height) {
    if (width < 0 || height < 0)
        return std::nullopt;
    return Rect{left, top, width, height};
}

} // namespace

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int menuBarHeight,
                             int optionsLabelWidth, int optionsLabelHeight) {
    MainLayout layout;
    layout.imgMenu = Rect{0, 0, clientWidth, menuBarHeight};
    layout.lblOptionsTop = static_cast<float>(menuBarHeight - optionsLabelHeight) / 2.0f;
    layout.ckScreen = Placed(optionsLabelWidth + 20, static_cast<int>(layout.lblOptionsTop),
                             clientWidth - optionsLabelWidth - 20, optionsLabelHeight);
    // The strip's bottom edge is a 16-bit sum, as the height it comes from.
    const int top = static_cast<std::int16_t>(menuBarHeight + 6);
    layout.picInvisible = Placed(6, top, clientWidth - 12, clientHeight - menuBarHeight - 12);
    return layout;
}

Outline SeeThroughOutline(int areaWidth, int areaHeight) {
    return Outline{1, 1, areaWidth - 1, areaHeight - 1};
}

Rect CaptureRect(const Rect& area) {
    return Rect{area.left + 2, area.top + 2, area.width - 4, area.height - 4};
}

} // namespace qorvic
