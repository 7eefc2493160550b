// The one place the program makes GDI fonts.
#pragma once

#include "base/handles_win.h"

#include <windows.h>

namespace qorvic {

struct FontSpec {
    const wchar_t* face = L"Tahoma";
    int height = -11; // a LOGFONT height: negative is the character height
    bool bold = false;
    bool italic = false;
    BYTE quality = CLEARTYPE_QUALITY;
    BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
};

// Empty when GDI refuses; callers fall back to a stock font.
Font CreateFontFromSpec(const FontSpec& spec);

// `points` at `dpi`, with the height rounded as controls::FontHeightForPoints does.
Font CreateFontForPoints(const wchar_t* face, float points, bool bold, bool italic, int dpi);

} // namespace qorvic
