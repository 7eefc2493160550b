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
// face, lit from the top left, so its upper lips are dark and its lower ones
// light. Rows are those of the 96-DPI design.
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

// The design row that pixel row `y` belongs to at `dpi`: each design row
// becomes a band of whole pixels between its scaled edges, so every line of
// the bevel stays sharp and the bands meet without a gap.
int DesignRow(int y, int dpi) {
    int row = 0;
    while (row + 1 < kSliderHeight && ScaleForDpi(row + 1, dpi) <= y)
        ++row;
    return row;
}

std::uint32_t DesignColumnShade(int row, std::uint32_t groove) {
    if (row >= kSliderGrooveFirstRow && row <= kSliderGrooveLastRow)
        return groove;
    switch (row) {
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

std::uint32_t ColumnShade(int y, std::uint32_t groove, int dpi) {
    return DesignColumnShade(DesignRow(y, dpi), groove);
}

SliderPicture Blank(int width, int height) {
    return {
        width, height,
        std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), kSliderFaceColour)};
}

void Put(SliderPicture& p, int x, int y, std::uint32_t colour) {
    p.pixels[static_cast<std::size_t>(y * p.width + x)] = colour;
}

// A pixel's centre in 96-DPI units; the identity at 96 DPI.
double DesignCoordinate(int pixel, int dpi) {
    return (pixel + 0.5) * kDesignDpi / UsableDpi(dpi) - 0.5;
}

// An end cap: the straight channel up to `centreX`, a half disc beyond it
// (towards `direction`, -1 left, +1 right) whose two outer rings are the bevel.
// The disc is measured at the target size, so its rings stay smooth.
SliderPicture Cap(int designWidth, int centreX, int direction, std::uint32_t groove, int dpi) {
    const int width = ScaleForDpi(designWidth, dpi);
    const int height = ScaleForDpi(kSliderHeight, dpi);
    SliderPicture p = Blank(width, height);
    const double centreY = (kChannelTop + kChannelBottom) / 2.0;
    const double radius = (kChannelBottom - kChannelTop) / 2.0 + 0.5;
    // The edge between the straight part and the disc, in pixels of this size.
    const int straightFrom = direction < 0 ? ScaleForDpi(centreX, dpi) : 0;
    const int straightTo = direction < 0 ? width : ScaleForDpi(centreX + 1, dpi);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (x >= straightFrom && x < straightTo) {
                Put(p, x, y, ColumnShade(y, groove, dpi));
                continue;
            }
            const double dx = DesignCoordinate(x, dpi) - centreX;
            const double dy = DesignCoordinate(y, dpi) - centreY;
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

SliderPicture SliderFillArt(std::uint32_t grooveColour, int dpi) {
    const int height = ScaleForDpi(kSliderHeight, dpi);
    SliderPicture p = Blank(1, height);
    for (int y = 0; y < height; ++y)
        Put(p, 0, y, ColumnShade(y, grooveColour, dpi));
    return p;
}

SliderPicture SliderLeftCapArt(int dpi) {
    return Cap(kSliderLeftCapWidth, 7, -1, kDesignFull, dpi);
}

SliderPicture SliderRightCapArt(int dpi) {
    return Cap(kSliderRightCapWidth, 6, +1, kDesignEmpty, dpi);
}

SliderPicture SliderHandleArt(int dpi) {
    const SliderMetrics m = SliderMetricsForDpi(dpi);
    const int w = m.handleWidth, h = m.handleHeight;
    // Lines one design pixel thick, never thinner than one screen pixel.
    const int line = std::max(1, ScaleForDpi(1, dpi));
    SliderPicture p = Blank(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Face: a vertical gradient from near white to a mid grey.
            const int level = 244 - (y * 52) / (h - 1);
            std::uint32_t colour = Grey(level);
            const bool edgeX = x < line || x >= w - line;
            const bool edgeY = y < line || y >= h - line;
            if (edgeX && edgeY) {
                // Rounded corners let the groove's lips show through.
                colour = ColumnShade(m.handleTop + y, kDesignFull, dpi);
            } else if (edgeX || edgeY) {
                colour = Grey(64); // outline
            } else if (y < 2 * line || x < 2 * line) {
                colour = Grey(255); // lit inner edge
            } else if (y >= h - 2 * line || x >= w - 2 * line) {
                colour = Grey(128); // shaded inner edge
            }
            Put(p, x, y, colour);
        }
    // A grip of three grooves in the middle, each a dark line with a light one beside it.
    const int spacing = ScaleForDpi(3, dpi);
    for (int grip : {w / 2 - spacing, w / 2, w / 2 + spacing})
        for (int y = spacing; y < h - spacing; ++y)
            for (int i = 0; i < line; ++i) {
                Put(p, grip + i, y, Grey(112));
                Put(p, grip + line + i, y, Grey(255));
            }
    return p;
}

} // namespace qorvic
