#include "mainwindow/menu_font.h"

#include "base/numeric.h"

namespace qorvic {

MenuFont MenuFontFromLogFont(std::int32_t height, std::int32_t weight, std::uint8_t italic,
                             const std::wstring& faceName) {
    MenuFont font;
    font.size = static_cast<float>(ClampToInt16(height * -0.75));
    font.bold = weight != 400;
    font.italic = italic != 0;
    for (wchar_t c : faceName)
        if (c != L'\0')
            font.name += c;
    return font;
}

} // namespace qorvic
