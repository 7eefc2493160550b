// The font a label, check box or button draws with, and the rules for turning
// it into a GDI font height. Plain data so the rules are tested without a screen.
#pragma once

#include <string>

namespace qorvic {

struct ControlFont {
    std::wstring name = L"Tahoma";
    float size = 8.25f; // points
    bool bold = false;
    bool italic = false;
};

namespace controls {

// The largest size the controls accept; anything above cannot be a text size
// and would overflow the pixel height at high DPI.
inline constexpr float kMaxFontPoints = 1638.0f;

// A size the controls accept: finite, above 0 and at most kMaxFontPoints.
bool IsAcceptableFontSize(float points);

// A face name the controls accept: not empty, no NUL, short enough for a LOGFONT
// (31 characters) so that it is never silently cut to another face's name.
bool IsAcceptableFaceName(const std::wstring& name);

// The LOGFONT height (negative: character height) for `points` at `dpi`, rounded
// to the nearest pixel with halves away from zero, and never 0, which GDI would
// read as "default size". `points` must be acceptable.
int FontHeightForPoints(float points, int dpi);

} // namespace controls
} // namespace qorvic
