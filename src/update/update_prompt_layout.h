// The numbers of the update prompt: its size, where it opens and what it says.
#pragma once

#include "base/dpi.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qorvic {

inline constexpr int kPromptClientWidth = 304;
inline constexpr int kPromptClientHeight = 172;
inline constexpr Box kPromptImage{0, 0, 32, 32};
inline constexpr Box kPromptLabel{32, 24, 241, 81};
inline constexpr Box kPromptYes{140, 130, 70, 30};
inline constexpr Box kPromptNo{220, 130, 70, 30};
// The prompt's client size and controls at `dpi`: the designed pixels above
// scaled by dpi / 96, unchanged at 96.
struct PromptGeometry {
    int clientWidth = kPromptClientWidth;
    int clientHeight = kPromptClientHeight;
    Box image = kPromptImage;
    Box label = kPromptLabel;
    Box yes = kPromptYes;
    Box no = kPromptNo;
};
PromptGeometry PromptGeometryForDpi(int dpi);

inline constexpr std::uint32_t kPromptBeepHz = 700;
inline constexpr std::uint32_t kPromptBeepMs = 100;

// The prompt's top-left corner: 500 twips right of and below the main window's,
// in pixels at the screen's twips per pixel (33 pixels at 15). A twips value
// that is not positive counts as the usual 15.
Point PlacePrompt(int mainLeft, int mainTop, std::int16_t twipsPerPixelX,
                  std::int16_t twipsPerPixelY);

// The message: the language's lead-in (it ends in a space), "Qorvic " and the
// version as the page writes it. The version holds only digits and a point.
std::wstring UpdateMessage(const std::wstring& txtNewVersion, std::string_view version);

} // namespace qorvic
