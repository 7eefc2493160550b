// Presses of a mouse button outside the popup menus, seen the moment they
// happen. The key state's "pressed since the last call" report cannot serve:
// any program that asks for the key state in between takes it, so a quick
// click on such a program would leave the menus open.
#pragma once

#include "base/handles_win.h"

#include <windows.h>

#include <functional>

namespace qorvic {

// A low-level mouse hook for as long as the object lives: keep one only while
// a menu is open, since every mouse event on the desktop passes through this
// thread while it is installed.
class OutsidePressWatch {
public:
    // `overMenus` says whether a screen point lies over a loaded menu; it is
    // asked at each press of the left or right button.
    explicit OutsidePressWatch(std::function<bool(POINT)> overMenus);
    ~OutsidePressWatch();
    OutsidePressWatch(const OutsidePressWatch&) = delete;
    OutsidePressWatch& operator=(const OutsidePressWatch&) = delete;

    // False when the system refused the hook; presses are then not seen here.
    bool Watching() const { return hook_ != nullptr; }
    // Whether a button went down outside the menus since the last call.
    bool TakePressOutside();

private:
    static LRESULT CALLBACK OnMouse(int code, WPARAM message, LPARAM event);

    std::function<bool(POINT)> overMenus_;
    bool pressedOutside_ = false;
    WindowsHook hook_;
};

} // namespace qorvic
