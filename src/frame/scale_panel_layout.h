// Numbers of the output-scaling panel: where it goes when it opens, the
// percentage label that rides above the knob, and the raised border drawn in
// system colours.
#pragma once

#include "base/dpi.h"

#include <array>
#include <cstdint>
#include <string>

namespace qorvic {

// Size the panel gets at start-up, in pixels.
inline constexpr int kScalePanelWidth = 300;
inline constexpr int kScalePanelHeight = 105;
// The outer size a small window is enlarged to when the panel opens on it, in twips.
inline constexpr int kScalePanelWindowWidthTwips = 4800;
inline constexpr int kScalePanelWindowHeightTwips = 4000;
// The panel spans the client width but leaves this many pixels of the height free.
inline constexpr int kScalePanelHeightReserve = 125;

// Designed places of the panel's children, in pixels at 15 twips per pixel.
inline constexpr Box kPercentLabelPlace{120, 8, 21, 16};
inline constexpr Box kScaleSliderPlace{8, 32, 285, 20};
inline constexpr Box kEqualsLabelPlace{8, 56, 185, 41};
inline constexpr Box kCloseButtonPlace{200, 64, 80, 28};

// The panel's size, its children's places and the height it leaves free, at
// `dpi`: the designed pixels above scaled by dpi / 96, unchanged at 96.
struct ScalePanelGeometry {
    int width = kScalePanelWidth;
    int height = kScalePanelHeight;
    int heightReserve = kScalePanelHeightReserve;
    Box percentLabel = kPercentLabelPlace;
    Box slider = kScaleSliderPlace;
    Box equalsLabel = kEqualsLabelPlace;
    Box closeButton = kCloseButtonPlace;
};
ScalePanelGeometry ScalePanelGeometryForDpi(int dpi);

// A rectangle in pixels, single precision and unrounded, as the panel placement computes it.
struct PanelRect {
    float left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PanelRect&) const = default;
};

// True when the window is too small for the panel (narrower than 4810 and
// lower than 4000 twips) and must first grow to 4800 x 4000 twips.
bool ScalePanelNeedsLargerWindow(int outerWidthTwips, int outerHeightTwips);

// The panel centred in the client area at its current size; it may stick out.
PanelRect CentredScalePanel(int clientWidth, int clientHeight, const PanelRect& panel);

// The panel after the window has grown: full client width, the client height
// less the reserve (125 pixels at 96 DPI, scaled at `dpi`), centred vertically
// by the height it had before.
PanelRect WidenedScalePanel(int clientWidth, int clientHeight, float panelHeightBefore,
                            int dpi = kDesignDpi);

// The panel's place and size carried from one DPI to another, so a panel that
// was open stays where it was relative to the window that was rescaled around it.
PanelRect RescaledScalePanel(const PanelRect& panel, int fromDpi, int toDpi);

// The percent label: the scale in percent ("100%" at step 10) and its left edge,
// which follows the knob (17.5 at step 1, 130 at 10, 255 at 20 at 96 DPI,
// scaled by dpi / 96 otherwise).
std::wstring PercentLabelText(std::int16_t scaleStep);
float PercentLabelLeft(std::int16_t scaleStep, int dpi = kDesignDpi);

// System colour indices the bevel uses (the platform's COLOR_* numbers).
inline constexpr int kSysColour3dLight = 22;
inline constexpr int kSysColour3dDarkShadow = 21;
inline constexpr int kSysColourHighlightText = 14;
inline constexpr int kSysColourButtonShadow = 16;

struct BevelLine {
    int x1, y1, x2, y2;
    int systemColour;
    bool operator==(const BevelLine&) const = default;
};
// L1 to L8 for a panel whose scale is `width` x `height`: outer light
// left/top, outer dark right/bottom, then the inner pair one pixel in.
std::array<BevelLine, 8> ScalePanelBevel(int width, int height);

} // namespace qorvic
