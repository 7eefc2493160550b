// A menu window to assistive technology: a popup menu whose rows are menu
// items; the highlight is the focus, the formats and languages rows have a popup.
#include "menus/menu_keys.h"
#include "menus/menu_window_win.h"

namespace qorvic {

long MenuWindow::AccRole(long child) const {
    return child == 0 ? ROLE_SYSTEM_MENUPOPUP : ROLE_SYSTEM_MENUITEM;
}

std::wstring MenuWindow::AccName(long child) const {
    return child == 0 ? std::wstring() : layout_.rows[child - 1].item.caption;
}

long MenuWindow::AccState(long child) const {
    if (child == 0)
        return 0;
    const std::size_t row = static_cast<std::size_t>(child - 1);
    long state = STATE_SYSTEM_FOCUSABLE;
    if (layout_.rows[row].item.hidden)
        state |= STATE_SYSTEM_INVISIBLE;
    if (highlightRow_ == row)
        state |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
    if (checkedRow_ == row)
        state |= STATE_SYSTEM_CHECKED;
    if (menus::RowOpensSubmenu(menuNumber_, row))
        state |= STATE_SYSTEM_HASPOPUP;
    return state;
}

std::wstring MenuWindow::AccDefaultAction(long child) const {
    if (child == 0)
        return {};
    return menus::RowOpensSubmenu(menuNumber_, static_cast<std::size_t>(child - 1)) ? L"Open"
                                                                                    : L"Execute";
}

// As a button release over the row; a submenu row opens its submenu, as hovering does.
bool MenuWindow::AccDoDefaultAction(long child) {
    if (child == 0)
        return false;
    const std::size_t row = static_cast<std::size_t>(child - 1);
    if (menus::RowOpensSubmenu(menuNumber_, row)) {
        OnRowEntered(row);
        return true;
    }
    if (events_.released)
        events_.released(row); // may end this window
    return true;
}

std::optional<RECT> MenuWindow::AccChildLocation(long child) const {
    const std::size_t row = static_cast<std::size_t>(child - 1);
    if (child < 1 || row >= layout_.rows.size())
        return std::nullopt;
    RECT outer{};
    ::GetWindowRect(hwnd(), &outer);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd(), &origin);
    const int top = origin.y + layout_.rows[row].top;
    return RECT{outer.left, top, outer.right,
                top + (layout_.rows[row].item.hidden ? 0 : itemHeight_)};
}

long MenuWindow::AccFocusedChild() const {
    return highlightRow_ ? static_cast<long>(*highlightRow_) + 1 : 0;
}

} // namespace qorvic
