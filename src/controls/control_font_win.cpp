#include "controls/control_font_win.h"

#include "base/debug_log_win.h"
#include "controls/control_font.h"

namespace qorvic {

Font CreateFontFromSpec(const FontSpec& spec) {
    Font font(::CreateFontW(spec.height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL,
                            spec.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, spec.quality,
                            spec.pitchAndFamily, spec.face));
    if (!font)
        DebugLog(std::wstring(L"cannot create the font ") + spec.face + L" of height " +
                 std::to_wstring(spec.height));
    return font;
}

Font CreateFontForPoints(const wchar_t* face, float points, bool bold, bool italic, int dpi) {
    return CreateFontFromSpec({.face = face,
                               .height = controls::FontHeightForPoints(points, dpi),
                               .bold = bold,
                               .italic = italic});
}

} // namespace qorvic
