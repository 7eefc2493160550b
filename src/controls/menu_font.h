// The system menu font as the strip's controls and the menus use it.
#pragma once

#include "controls/control_font.h"

#include <cstdint>
#include <string>

namespace qorvic {

// From the LOGFONT fields: size = height x -0.75 rounded halves-to-even, bold
// for any weight but 400, italic for any non-zero byte, the name up to its first NUL.
ControlFont MenuFontFromLogFont(std::int32_t height, std::int32_t weight, std::uint8_t italic,
                                const std::wstring& faceName);

} // namespace qorvic
