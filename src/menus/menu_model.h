// The popup menus without a screen: the item lists, what the markers in an
// item text mean, and every size and position a built menu has. The menu
// windows only measure texts, call these functions and move windows.
#pragma once

#include "languages/language_texts.h"

#include "base/geometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qorvic::menus {

// Every pixel constant of the menus, as designed at 96 DPI. The row height is
// not among them: it is the system's menu-bar height, which already follows the DPI.
struct MenuMetrics {
    int firstRowTop = 3;         // inner top edge to the first row
    int checkWidth = 20;         // the check-mark column; the text starts behind it
    int arrowWidth = 20;         // the submenu-arrow column at the right
    int arrowDrop = 4;           // the arrow sits this far below the row top
    int separatorGap = 8;        // extra space a separator adds below its row
    int greyLineBelow = 2;       // the separator's grey line, below the row's bottom
    int whiteLineBelow = 3;      // and its white line
    int widthPadding = 50;       // added to the widest text for the outer width
    int heightPadding = 3;       // added below the last row for the outer height
    int highlightOverhang = 2;   // the highlight starts this far above its row and left of 0
    int submenuOverlap = 2;      // a submenu covers this much of its parent's right edge
    int optionsLabelOffset = 6;  // the first-level menu starts this far left of the label
    int frameThickness = 1;      // the thin border on each side
    int designClientWidth = 304; // the window before a build: 4560 x 3030 twips
    int designClientHeight = 202;
    double japaneseWidening = 1.3;
};

inline constexpr MenuMetrics kMenuMetrics{};

// `base` for a screen of `dpi`: every pixel length scaled by dpi / 96 (the
// Japanese widening is a ratio and stays). At 96 DPI it is `base` unchanged.
MenuMetrics ScaledMenuMetrics(int dpi, const MenuMetrics& base = kMenuMetrics);

// Menu numbers as the windows know them.
inline constexpr std::int16_t kFormatMenu = 3;
inline constexpr std::int16_t kOptionsMenu = 4;
inline constexpr std::int16_t kLanguageMenu = 5;

// The first-level rows, top to bottom. QuickSaveFormats and Language open
// their submenu when the pointer enters them.
enum class OptionsRow {
    HandOff,
    Copy,
    SaveAs,
    QuickSaveFormats,
    OutputSize,
    FrameColour,
    Language
};
// The first-level row at `index`, or nullopt past the last.
std::optional<OptionsRow> OptionsRowAt(std::size_t index);

// What an item text says: ">" arrow, "=" separator after it, "<" hidden; every
// marker counts wherever it stands and however often. The caption drops ">"
// and "=" only. The first item is treated like every other.
struct MenuItem {
    std::wstring caption;
    std::wstring tag; // the full text, markers included
    bool arrow = false;
    bool separatorAfter = false;
    bool hidden = false;
};
MenuItem ParseMenuItem(const std::wstring& text);

// The seven first-level rows from the language texts and the scale in tenths:
// row 4 reads the scaling text, a space, the percentage and "%", row 5 gets
// one "=" more than its text has.
std::vector<std::wstring> OptionsItems(const LanguageTexts& texts, std::int16_t scaleStep);

// The format submenu's rows, "BMP" to "TIF".
std::vector<std::wstring> FormatItems();

// The row of the current language in the language list: exact whole-name
// match, letter case ignored. Empty when the language is not listed.
std::optional<std::size_t> CheckedLanguageRow(const std::vector<std::wstring>& languageList,
                                              const std::wstring& currentLanguage);

// One item's row, in the inner area's pixels. A hidden item has no row: it
// shares the top of the next one and shows nothing.
struct MenuRow {
    MenuItem item;
    int top = 0;
    Box check;
    Box text;
    Box arrow;
    std::optional<int> greyLineY; // the separator below the row
    std::optional<int> whiteLineY;
};

struct MenuLayout {
    std::vector<MenuRow> rows; // one per item, hidden ones included
    int maxTextWidth = 0;      // the widest text, markers included
    int outerWidth = 0;        // pixels, frame included
    int outerHeight = 0;
};

// How a menu is built: the item texts, how wide a text is in the measuring
// font (pixels), the row height, the outer width the window has before the
// build (kept when no text is wider than 0) and the twips per pixel that the
// window sizes are handed over in.
struct MenuBuild {
    std::vector<std::wstring> items;
    std::function<int(const std::wstring&)> measureText;
    int itemHeight = 19;
    int designOuterWidth = 304;
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
    bool japaneseWidening = false; // the first-level menu in "Japanese"
    MenuMetrics metrics = kMenuMetrics;
};

// The built menu; each full text is measured, markers included. Outer sizes are clamped to what
// 16-bit twips can express, so a very wide text gives the widest possible menu instead of no menu.
MenuLayout LayoutMenu(const MenuBuild& build);

// Whether the first-level menu of `language` is widened: only the exact name "Japanese".
bool WidensFirstLevel(const std::wstring& language);

// The highlight behind row `rowTop`, in the inner area's pixels; its left and
// right edges fall outside the window.
Box HighlightBox(int rowTop, int outerWidth, int itemHeight,
                 const MenuMetrics& metrics = kMenuMetrics);

// The hand-drawn check mark (a polyline) and submenu arrow (a filled
// triangle) for a system without the symbol font, inside the glyph's box.
std::vector<Point> DrawnCheckMark(const Box& box);
std::vector<Point> DrawnArrow(const Box& box);

} // namespace qorvic::menus
