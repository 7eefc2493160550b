// The program-wide state: only what more than one window reads. The frame
// fills it at start-up and owns it; the others get the part they need.
#pragma once

#include "controls/control_font.h"
#include "languages/language_texts.h"

#include <cstdint>
#include <string>

namespace qorvic {

struct AppState {
    std::wstring DataFolder; // no trailing separator
    LanguageState languages;
    ControlFont menuFont; // the system menu font at 96 DPI, read at start-up
    std::int16_t TwipsPerPixelX = 15;
    std::int16_t TwipsPerPixelY = 15;
};

} // namespace qorvic
