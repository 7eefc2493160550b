// The colour dialog that picks the frame colour. The custom colours defined in
// it are offered again within the run.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace qorvic {

class ColourDialog {
public:
    // The chosen colour as 0x00BBGGRR, or nothing when cancelled.
    std::optional<std::int32_t> Pick(HWND owner);

    std::array<COLORREF, 16> customColours{};
};

} // namespace qorvic
