#include "update/update_prompt_layout.h"

#include "base/dpi.h"
#include "base/numeric.h"

namespace qorvic {

namespace {

constexpr double kOffsetTwips = 500.0;

int TwipsToPixels(double twips, std::int16_t twipsPerPixel) {
    const double perPixel = twipsPerPixel > 0 ? twipsPerPixel : 15;
    return ToInt32(twips / perPixel).value_or(0);
}

} // namespace

PromptGeometry PromptGeometryForDpi(int dpi) {
    const auto scale = [dpi](const Box& b) { return ScaleForDpi(b, dpi); };
    PromptGeometry g;
    g.clientWidth = ScaleForDpi(kPromptClientWidth, dpi);
    g.clientHeight = ScaleForDpi(kPromptClientHeight, dpi);
    g.image = scale(kPromptImage);
    g.label = scale(kPromptLabel);
    g.yes = scale(kPromptYes);
    g.no = scale(kPromptNo);
    return g;
}

Point PlacePrompt(int mainLeft, int mainTop, std::int16_t twipsPerPixelX,
                  std::int16_t twipsPerPixelY) {
    return {mainLeft + TwipsToPixels(kOffsetTwips, twipsPerPixelX),
            mainTop + TwipsToPixels(kOffsetTwips, twipsPerPixelY)};
}

std::wstring UpdateMessage(const std::wstring& txtNewVersion, std::string_view version) {
    std::wstring message = txtNewVersion + L"Qorvic ";
    for (const char c : version)
        message.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return message;
}

} // namespace qorvic
