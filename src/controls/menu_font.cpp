#include "controls/menu_font.h"

#include "base/numeric.h"

namespace qorvic {

ControlFont MenuFontFromLogFont(std::int32_t height, std::int32_t weight, std::uint8_t italic,
                                const std::wstring& faceName) {
    ControlFont font;
    font.size = static_cast<float>(ClampToInt16(height * -0.75));
    font.bold = weight != 400;
    font.italic = italic != 0;
    // The name ends at its first NUL: what follows in the fixed-size field is
    // left over from earlier names and would glue on ("Tahomal Dlg").
    font.name = faceName.substr(0, faceName.find(L'\0'));
    return font;
}

} // namespace qorvic
