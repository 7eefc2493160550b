#include "controls/control_font.h"

#include <cmath>

namespace qorvic::controls {

namespace {
constexpr std::size_t kMaxFaceLength = 31; // LF_FACESIZE less the terminator
constexpr int kFallbackDpi = 96;

int SaneDpi(int dpi) {
    return dpi > 0 ? dpi : kFallbackDpi;
}
} // namespace

bool IsAcceptableFontSize(float points) {
    return std::isfinite(points) && points > 0.0f && points <= kMaxFontPoints;
}

bool IsAcceptableFaceName(const std::wstring& name) {
    return !name.empty() && name.size() <= kMaxFaceLength && name.find(L'\0') == std::wstring::npos;
}

int FontHeightForPoints(float points, int dpi) {
    const double pixels = std::round(static_cast<double>(points) * SaneDpi(dpi) / 72.0);
    return pixels < 1.0 ? -1 : -static_cast<int>(pixels);
}

} // namespace qorvic::controls
