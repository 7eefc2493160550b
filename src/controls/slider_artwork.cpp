#include "controls/slider_artwork.h"

#include "controls/slider_model.h"

#include <algorithm>
#include <cmath>

namespace qorvic {

namespace {

constexpr std::uint32_t Grey(int level) {
    const auto v = static_cast<std::uint32_t>(level);
    return v | (v << 8) | (v << 16);
}

// The groove's cross-section from top to bottom: a channel pressed into the
// face, lit from the top left, so its upper lips are dark and its lower ones light.
constexpr int kChannelTop = 4;     // first bevel row
constexpr int kChannelBottom = 14; // last bevel row
constexpr std::uint32_t kOuterShadow = Grey(128);
constexpr std::uint32_t kInnerShadow = Grey(64);
constexpr std::uint32_t kInnerLight = Grey(224);
constexpr std::uint32_t kOuterLight = Grey(255);
constexpr std::uint32_t kFaceShade = Grey(176); // a soft line above the channel

// The designed groove colours, the same as the slider's default colours.
constexpr std::uint32_t kDesignFull = kSliderDefaultForeColor;
constexpr std::uint32_t kDesignEmpty = kSliderDefaultBackColor;

std::uint32_t ColumnShade(int y, std::uint32_t groove) {
    if (y >= kSliderGrooveFirstRow && y <= kSliderGrooveLastRow)
        return groove;
    switch (y) {
    case kChannelTop - 1:
        return kFaceShade;
    case kChannelTop:
        return kOuterShadow;
    case kChannelTop + 1:
        return kInnerShadow;
    case kChannelBottom - 1:
        return kInnerLight;
    case kChannelBottom:
        return kOuterLight;
    default:
        return kSliderFaceColour;
    }
}

SliderPicture Blank(int width, int height) {
    return {
        width, height,
        std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), kSliderFaceColour)};
}

void Put(SliderPicture& p, int x, int y, std::uint32_t colour) {
    p.pixels[static_cast<std::size_t>(y * p.width + x)] = colour;
}

// An end cap: the straight channel up to `centreX`, a half disc beyond it
// (towards `direction`, -1 left, +1 right) whose two outer rings are the bevel.
SliderPicture Cap(int width, int centreX, int direction, std::uint32_t groove) {
    SliderPicture p = Blank(width, kSliderHeight);
    const double centreY = (kChannelTop + kChannelBottom) / 2.0;
    const double radius = (kChannelBottom - kChannelTop) / 2.0 + 0.5;
    for (int y = 0; y < kSliderHeight; ++y)
        for (int x = 0; x < width; ++x) {
            if ((x - centreX) * direction <= 0) {
                Put(p, x, y, ColumnShade(y, groove));
                continue;
            }
            const double dx = x - centreX, dy = y - centreY;
            const double r = std::sqrt(dx * dx + dy * dy);
            // Lit from the top left: the part of a ring facing that way is in shadow.
            const bool shadowSide = dx + dy < 0;
            std::uint32_t colour = kSliderFaceColour;
            if (r <= radius - 2.0)
                colour = groove;
            else if (r <= radius - 1.0)
                colour = shadowSide ? kInnerShadow : kInnerLight;
            else if (r <= radius)
                colour = shadowSide ? kOuterShadow : kOuterLight;
            else if (r <= radius + 1.0 && dy < 0)
                colour = kFaceShade; // the soft line above the channel follows the end round
            Put(p, x, y, colour);
        }
    return p;
}

} // namespace

SliderPicture SliderFillArt(std::uint32_t grooveColour) {
    SliderPicture p = Blank(1, kSliderHeight);
    for (int y = 0; y < kSliderHeight; ++y)
        Put(p, 0, y, ColumnShade(y, grooveColour));
    return p;
}

SliderPicture SliderLeftCapArt() {
    return Cap(kSliderLeftCapWidth, 7, -1, kDesignFull);
}

SliderPicture SliderRightCapArt() {
    return Cap(kSliderRightCapWidth, 6, +1, kDesignEmpty);
}

SliderPicture SliderHandleArt() {
    constexpr int w = kSliderHandleWidth, h = kSliderHandleHeight;
    SliderPicture p = Blank(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Face: a vertical gradient from near white to a mid grey.
            const int level = 244 - (y * 52) / (h - 1);
            std::uint32_t colour = Grey(level);
            const bool edgeX = x == 0 || x == w - 1;
            const bool edgeY = y == 0 || y == h - 1;
            if (edgeX && edgeY) {
                // Rounded corners let the groove's lips show through.
                colour = ColumnShade(kSliderHandleTop + y, kDesignFull);
            } else if (edgeX || edgeY) {
                colour = Grey(64); // outline
            } else if (y == 1 || x == 1) {
                colour = Grey(255); // lit inner edge
            } else if (y == h - 2 || x == w - 2) {
                colour = Grey(128); // shaded inner edge
            }
            Put(p, x, y, colour);
        }
    // A grip of three grooves in the middle, each a dark line with a light one beside it.
    for (int grip : {w / 2 - 3, w / 2, w / 2 + 3})
        for (int y = 3; y <= h - 4; ++y) {
            Put(p, grip, y, Grey(112));
            Put(p, grip + 1, y, Grey(255));
        }
    return p;
}

} // namespace qorvic
