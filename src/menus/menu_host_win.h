// What the popup menus need from the window that opens them, and where they
// report the user's choice: "row N of menu M was chosen". The menus know
// nothing of the commands behind the rows.
#pragma once

#include "controls/control_font.h"
#include "languages/language_texts.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace qorvic {

// What the menus show at the moment they open.
struct MenuContent {
    const LanguageState* languages = nullptr; // texts, list and current language
    std::int16_t scaleStep = 10;              // shown in the output size row
    ControlFont font;                         // the system menu font at 96 DPI
    int dpi = 96;                             // the owner's DPI
    // The first level opens below this client point of the owner: the options
    // label's left edge at the strip's foot.
    int anchorLeft = 0;
    int anchorBottom = 0;
};

class MenuHost {
public:
    virtual HWND MenuOwner() const = 0;
    virtual MenuContent CurrentMenuContent() const = 0;
    // A button went up over row `row` of menu `menu` (kOptionsMenu, kFormatMenu,
    // kLanguageMenu). The menus have closed already: the first level alone for a
    // first-level row, both menus for a submenu row.
    virtual void OnMenuRowChosen(std::int16_t menu, std::size_t row) = 0;

protected:
    ~MenuHost() = default;
};

} // namespace qorvic
