#include "menus/menu_model.h"

#include "base/dpi.h"
#include "base/numeric.h"
#include "languages/language_list.h"

#include <algorithm>

namespace qorvic::menus {

namespace {

bool Contains(const std::wstring& text, wchar_t marker) {
    return text.find(marker) != std::wstring::npos;
}

// The largest pixel size whose twips still fit a 16-bit integer.
int MaxPixelsForTwips(int twipsPerPixel) {
    return twipsPerPixel > 0 ? INT16_MAX / twipsPerPixel : INT16_MAX;
}

int ClampPixels(double pixels, int twipsPerPixel) {
    const double rounded = RoundHalfEven(pixels);
    return static_cast<int>(std::clamp(rounded, 0.0, double(MaxPixelsForTwips(twipsPerPixel))));
}

} // namespace

MenuItem ParseMenuItem(const std::wstring& text) {
    MenuItem item;
    item.tag = text;
    item.arrow = Contains(text, L'>');
    item.separatorAfter = Contains(text, L'=');
    item.hidden = Contains(text, L'<');
    item.caption.reserve(text.size());
    for (wchar_t c : text)
        if (c != L'>' && c != L'=')
            item.caption.push_back(c);
    return item;
}

std::vector<std::wstring> OptionsItems(const LanguageTexts& texts, std::int16_t scaleStep) {
    const int percent = int{scaleStep} * 10;
    return {texts.TxtHandOff,
            texts.TxtCopy,
            texts.TxtSaveAs,
            texts.TxtFormats,
            texts.TxtScaling + L" " + std::to_wstring(percent) + L"%=",
            texts.TxtColour + L"=",
            texts.TxtLanguages};
}

std::optional<OptionsRow> OptionsRowAt(std::size_t index) {
    if (index > static_cast<std::size_t>(OptionsRow::Language))
        return std::nullopt;
    return static_cast<OptionsRow>(index);
}

std::vector<std::wstring> FormatItems() {
    return {L"BMP", L"GIF", L"JPG", L"JP2", L"PNG", L"TIF"};
}

std::optional<std::size_t> CheckedLanguageRow(const std::vector<std::wstring>& languageList,
                                              const std::wstring& currentLanguage) {
    for (std::size_t i = 0; i < languageList.size(); ++i) {
        const std::wstring& name = languageList[i];
        if (!LessOrdinalIgnoreCase(name, currentLanguage) &&
            !LessOrdinalIgnoreCase(currentLanguage, name))
            return i;
    }
    return std::nullopt;
}

MenuMetrics ScaledMenuMetrics(int dpi, const MenuMetrics& base) {
    MenuMetrics m = base;
    for (int MenuMetrics::*length :
         {&MenuMetrics::firstRowTop, &MenuMetrics::checkWidth, &MenuMetrics::arrowWidth,
          &MenuMetrics::arrowDrop, &MenuMetrics::separatorGap, &MenuMetrics::greyLineBelow,
          &MenuMetrics::whiteLineBelow, &MenuMetrics::widthPadding, &MenuMetrics::heightPadding,
          &MenuMetrics::highlightOverhang, &MenuMetrics::submenuOverlap,
          &MenuMetrics::optionsLabelOffset, &MenuMetrics::frameThickness,
          &MenuMetrics::designClientWidth, &MenuMetrics::designClientHeight})
        m.*length = ScaleForDpi(base.*length, dpi);
    return m;
}

bool WidensFirstLevel(const std::wstring& language) {
    return language == L"Japanese";
}

MenuLayout LayoutMenu(const MenuBuild& build) {
    const MenuMetrics& m = build.metrics;
    MenuLayout layout;

    // Width pass: only a strictly wider text widens the menu.
    if (build.measureText)
        for (const std::wstring& text : build.items)
            layout.maxTextWidth = std::max(layout.maxTextWidth, build.measureText(text));
    layout.outerWidth =
        layout.maxTextWidth > 0
            ? ClampPixels(double(layout.maxTextWidth) + m.widthPadding, build.twipsPerPixelX)
            : build.designOuterWidth;
    if (build.japaneseWidening)
        layout.outerWidth =
            ClampPixels(layout.outerWidth * m.japaneseWidening, build.twipsPerPixelX);

    // Row pass.
    const int innerWidth = std::max(0, layout.outerWidth - 2 * m.frameThickness);
    const int h = build.itemHeight;
    int top = m.firstRowTop;
    layout.rows.reserve(build.items.size());
    for (const std::wstring& text : build.items) {
        MenuRow row;
        row.item = ParseMenuItem(text);
        row.top = top;
        row.check = {0, top, m.checkWidth, h};
        row.text = {m.checkWidth, top, std::max(0, innerWidth - m.checkWidth), h};
        row.arrow = {innerWidth - m.arrowWidth, top + m.arrowDrop, m.arrowWidth, h};
        if (row.item.hidden) {
            // The next item takes this row; a hidden item shows no arrow and no separator.
            row.item.arrow = false;
            row.item.separatorAfter = false;
        } else {
            top += h;
            if (row.item.separatorAfter) {
                row.greyLineY = row.top + h + m.greyLineBelow;
                row.whiteLineY = row.top + h + m.whiteLineBelow;
                top += m.separatorGap;
            }
        }
        layout.rows.push_back(std::move(row));
    }
    layout.outerHeight = ClampPixels(double(top) + m.heightPadding, build.twipsPerPixelY);
    return layout;
}

Box HighlightBox(int rowTop, int outerWidth, int itemHeight, const MenuMetrics& metrics) {
    const int over = metrics.highlightOverhang;
    return {-over, rowTop - over, outerWidth + 2 * over, itemHeight + over};
}

// Both shapes sit at the top left of their box, where the symbol font's glyphs
// sit, designed for the 20-pixel column and a 19-pixel row and following the
// row's height.
std::vector<Point> DrawnCheckMark(const Box& box) {
    const auto y = [&](int at19) { return box.top + at19 * box.height / 19; };
    return {{box.left + 5, y(9)}, {box.left + 8, y(12)}, {box.left + 14, y(5)}};
}

std::vector<Point> DrawnArrow(const Box& box) {
    const auto y = [&](int at19) { return box.top + at19 * box.height / 19; };
    return {{box.left + 6, y(1)}, {box.left + 10, y(5)}, {box.left + 6, y(9)}};
}

} // namespace qorvic::menus
