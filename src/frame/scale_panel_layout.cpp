#include "frame/scale_panel_layout.h"

#include "base/dpi.h"
#include "base/numeric.h"

namespace qorvic {

bool ScalePanelNeedsLargerWindow(int outerWidthTwips, int outerHeightTwips) {
    return outerWidthTwips < 4810 && outerHeightTwips < 4000;
}

PanelRect CentredScalePanel(int clientWidth, int clientHeight, const PanelRect& panel) {
    return {clientWidth / 2.0f - panel.width / 2.0f, clientHeight / 2.0f - panel.height / 2.0f,
            panel.width, panel.height};
}

ScalePanelGeometry ScalePanelGeometryForDpi(int dpi) {
    const auto scale = [dpi](auto designed) { return ScaleForDpi(designed, dpi); };
    ScalePanelGeometry g;
    g.width = scale(kScalePanelWidth);
    g.height = scale(kScalePanelHeight);
    g.heightReserve = scale(kScalePanelHeightReserve);
    g.percentLabel = scale(kPercentLabelPlace);
    g.slider = scale(kScaleSliderPlace);
    g.equalsLabel = scale(kEqualsLabelPlace);
    g.closeButton = scale(kCloseButtonPlace);
    return g;
}

PanelRect WidenedScalePanel(int clientWidth, int clientHeight, float panelHeightBefore, int dpi) {
    return {0.0f, clientHeight / 2.0f - panelHeightBefore / 2.0f, static_cast<float>(clientWidth),
            static_cast<float>(clientHeight - ScaleForDpi(kScalePanelHeightReserve, dpi))};
}

PanelRect RescaledScalePanel(const PanelRect& panel, int fromDpi, int toDpi) {
    // Multiplied before dividing, so going to another DPI and back is exact.
    const float to = static_cast<float>(UsableDpi(toDpi));
    const float from = static_cast<float>(UsableDpi(fromDpi));
    const auto scale = [to, from](float v) { return v * to / from; };
    return {scale(panel.left), scale(panel.top), scale(panel.width), scale(panel.height)};
}

std::wstring PercentLabelText(std::int16_t scaleStep) {
    // 16-bit product as the rest of the model; a step outside 1..20 cannot
    // come from the slider, but it must not wrap into a wrong percentage.
    return std::to_wstring(ClampToInt16(scaleStep * 10.0)) + L"%";
}

float PercentLabelLeft(std::int16_t scaleStep, int dpi) {
    const float atDesign = static_cast<float>(scaleStep) * 12.5f + 5.0f;
    return atDesign * static_cast<float>(UsableDpi(dpi)) / kDesignDpi;
}

std::array<BevelLine, 8> ScalePanelBevel(int w, int h) {
    return {{
        {0, 0, 0, h, kSysColour3dLight},
        {0, 0, w, 0, kSysColour3dLight},
        {w - 1, 0, w - 1, h, kSysColour3dDarkShadow},
        {0, h - 1, w, h - 1, kSysColour3dDarkShadow},
        {1, 1, 1, h - 1, kSysColourHighlightText},
        {1, 1, w - 1, 1, kSysColourHighlightText},
        {w - 2, 1, w - 2, h - 1, kSysColourButtonShadow},
        {1, h - 2, w - 1, h - 2, kSysColourButtonShadow},
    }};
}

} // namespace qorvic
