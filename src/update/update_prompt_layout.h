// The numbers of the update prompt: its size, where it opens and what it says.
#pragma once

#include "base/dpi.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qorvic {

struct PromptPlacement {
    int left = 0;
    int top = 0;
};

using PromptBox = DesignBox;

inline constexpr int kPromptClientWidth = 304;
inline constexpr int kPromptClientHeight = 172;
inline constexpr PromptBox kPromptImage{0, 0, 32, 32};
inline constexpr PromptBox kPromptLabel{32, 24, 241, 81};
inline constexpr PromptBox kPromptYes{140, 130, 70, 30};
inline constexpr PromptBox kPromptNo{220, 130, 70, 30};
// The prompt's client size and controls at `dpi`: the designed pixels above
// scaled by dpi / 96, unchanged at 96.
struct PromptGeometry {
    int clientWidth = kPromptClientWidth;
    int clientHeight = kPromptClientHeight;
    PromptBox image = kPromptImage;
    PromptBox label = kPromptLabel;
    PromptBox yes = kPromptYes;
    PromptBox no = kPromptNo;
};
PromptGeometry PromptGeometryForDpi(int dpi);

inline constexpr std::uint32_t kPromptBeepHz = 700;
inline constexpr std::uint32_t kPromptBeepMs = 100;

// The prompt's top-left corner: 500 twips right of and below the main window's,
// in pixels at the screen's twips per pixel (33 pixels at 15). A twips value
// that is not positive counts as the usual 15.
PromptPlacement PlacePrompt(int mainLeft, int mainTop, std::int16_t twipsPerPixelX,
                            std::int16_t twipsPerPixelY);

// The message: the language's lead-in (it ends in a space), "Qorvic " and the
// version as the page writes it. The version holds only digits and a point.
std::wstring UpdateMessage(const std::wstring& txtNewVersion, std::string_view version);

} // namespace qorvic
