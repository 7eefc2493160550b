// Points, sizes and boxes in whole pixels: the one set of geometry types every
// layout rule and window speaks, so a place computed by the logic goes to the
// window that shows it without a conversion.
#pragma once

namespace qorvic {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A rectangle by its top-left corner and extent; right() and bottom() lie just
// outside it, as a system rectangle's right and bottom do.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    bool operator==(const Box&) const = default;
};

} // namespace qorvic
