#include "menus/menu_placement.h"

#include "languages/language_list.h"

#include <algorithm>

namespace qorvic::menus {

Point FirstLevelCorner(int optionsLabelLeft, int menuBarHeight, const MenuMetrics& metrics) {
    return {optionsLabelLeft - metrics.optionsLabelOffset, menuBarHeight};
}

Point KeepInside(Point corner, int width, int height, const Box& workArea) {
    // Right and bottom first, so that a menu larger than the area keeps its top-left corner.
    if (corner.x + width > workArea.right())
        corner.x = workArea.right() - width;
    if (corner.y + height > workArea.bottom())
        corner.y = workArea.bottom() - height;
    corner.x = std::max(corner.x, workArea.left);
    corner.y = std::max(corner.y, workArea.top);
    return corner;
}

Point SubmenuCorner(const Box& parent, int rowOffset, int width, int height, const Box& workArea,
                    const MenuMetrics& metrics) {
    Point corner{parent.right() - metrics.submenuOverlap, parent.top + rowOffset};
    if (corner.x + width > workArea.right())
        corner.x = parent.left - width + metrics.submenuOverlap;
    return KeepInside(corner, width, height, workArea);
}

int RowOffset(const MenuLayout& layout, std::size_t row) {
    if (row >= layout.rows.size() || layout.rows.empty())
        return 0;
    return layout.rows[row].top - layout.rows.front().top;
}

bool PointerOverRect(Point pointer, const Box& window) {
    if (pointer.x > window.right() || pointer.x < window.left)
        return false;
    return !(pointer.y > window.bottom() || pointer.y < window.top);
}

int CountLoadedWindows(const std::vector<std::wstring>& loadedNames, const std::wstring& name) {
    int count = 0;
    for (const std::wstring& loaded : loadedNames) {
        const bool same =
            !LessOrdinalIgnoreCase(loaded, name) && !LessOrdinalIgnoreCase(name, loaded);
        if (name.empty() || same)
            ++count;
    }
    return count;
}

bool MenusCloseOnTick(const TimerLook& look) {
    if (look.pressedOutside)
        return true;
    if (look.menuLoaded && look.overMenu)
        return false;
    if (look.subMenuLoaded && look.overSubMenu)
        return false;
    return look.buttonPressed;
}

} // namespace qorvic::menus
