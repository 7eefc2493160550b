#include "controls/high_contrast_win.h"

namespace qorvic {

namespace {
std::optional<bool> g_override;
} // namespace

void OverrideHighContrast(std::optional<bool> on) {
    g_override = on;
}

bool HighContrastOn() {
    if (g_override)
        return *g_override;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool KeyboardCuesOn() {
    BOOL cues = FALSE;
    return ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0) && cues;
}

controls::Palette SystemPalette() {
    return {::GetSysColor(COLOR_BTNFACE),   ::GetSysColor(COLOR_BTNTEXT),
            ::GetSysColor(COLOR_WINDOW),    ::GetSysColor(COLOR_WINDOWTEXT),
            ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT),
            ::GetSysColor(COLOR_GRAYTEXT)};
}

} // namespace qorvic
