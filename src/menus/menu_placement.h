// Where the menus go on the screen, and when they close: pure rules on screen
// pixels, so the native tests cover them.
#pragma once

#include "menus/menu_model.h"

#include <string>
#include <vector>

namespace qorvic::menus {

// The first-level menu's corner in the main window's client pixels: left of
// the options label by the designed offset, at the strip's foot.
Point FirstLevelCorner(int optionsLabelLeft, int menuBarHeight,
                       const MenuMetrics& metrics = kMenuMetrics);

// A menu of `width` x `height` at `corner`, moved back into `workArea` when it
// would leave it; the top-left edges win when the menu is larger than the area.
// A menu inside the area stays exactly where it is.
Point KeepInside(Point corner, int width, int height, const Box& workArea);

// The submenu beside a first-level menu whose outer rectangle is `parent`:
// overlapping its right edge, with its top `rowOffset` below the parent's top.
// When it would leave the work area on the right it opens to the left of the
// parent instead (overlapping the left edge the same way); then it is kept inside.
Point SubmenuCorner(const Box& parent, int rowOffset, int width, int height, const Box& workArea,
                    const MenuMetrics& metrics = kMenuMetrics);

// The vertical offset of a row from the first row, as the submenu needs it.
int RowOffset(const MenuLayout& layout, std::size_t row);

// Whether the pointer is over a window: the right and bottom edge count as
// inside, so the column just right of the window and the row just below it do too.
bool PointerOverRect(Point pointer, const Box& window);

// How many loaded windows carry `name`, compared without regard to case; an
// empty name counts them all.
int CountLoadedWindows(const std::vector<std::wstring>& loadedNames, const std::wstring& name);

// One tick of the menu timer: true when the menus close. A press seen outside
// every loaded menu since the last tick closes them wherever the pointer is now.
// Otherwise nothing closes with the pointer over a loaded menu; elsewhere a
// button that is down or was pressed since the last look closes them.
struct TimerLook {
    bool menuLoaded = false;
    bool overMenu = false;
    bool subMenuLoaded = false;
    bool overSubMenu = false;
    bool buttonPressed = false;
    bool pressedOutside = false;
};
bool MenusCloseOnTick(const TimerLook& look);

} // namespace qorvic::menus
