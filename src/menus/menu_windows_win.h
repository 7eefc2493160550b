// Both popup menus of one opening and the rules for their lifetime: the first
// level opens below the options label, hovering a row opens or closes the
// submenu beside it, releasing a button over a row reports it to the host, and
// a timer closes both on a press outside them. A window unloaded while one of
// its own row handlers runs is destroyed at once but freed only after that
// handler has returned.
#pragma once

#include "menus/menu_host_win.h"
#include "menus/menu_window_win.h"
#include "menus/outside_press_win.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qorvic {

class MenuWindows {
public:
    explicit MenuWindows(MenuHost& host) : host_(host) {}
    ~MenuWindows();
    MenuWindows(const MenuWindows&) = delete;
    MenuWindows& operator=(const MenuWindows&) = delete;

    // Opens the first level (menu kOptionsMenu) below the host's anchor and
    // starts the timer that closes the menus on a press outside them.
    void OpenOptionsMenu();
    // As OpenOptionsMenu, with the first row highlighted (F10, the context-menu key).
    void OpenOptionsMenuFromKeyboard();
    // Unloads both menus.
    void CloseAll();
    bool AnyOpen() const { return menu_ || subMenu_; }
    // A key pressed while a menu is open; it acts on the innermost menu.
    // False when the key means nothing to the menus.
    bool OnKey(WPARAM virtualKey);
    // One tick of the closing timer; the host forwards its WM_TIMER with kTimerId.
    static constexpr UINT_PTR kTimerId = 0x4D4E;
    void OnTimer();

    // The loaded window or nullptr.
    MenuWindow* FirstLevel() const { return menu_.get(); }
    MenuWindow* SecondLevel() const { return subMenu_.get(); }

    // Unloads the window, then loads it afresh (hidden).
    MenuWindow& LoadFirstLevel();
    MenuWindow& LoadSecondLevel();
    // Nothing happens for a window that is not loaded.
    void UnloadFirstLevel() { Unload(menu_); }
    void UnloadSecondLevel() { Unload(subMenu_); }

    // From now on notes every press of the left or right button outside both
    // menus; presses before do not count. The watch ends once neither menu is loaded.
    void WatchPressesOutside();
    // False when no watch runs: no menu is loaded, or the system refused the hook.
    bool WatchingPressesOutside() const { return pressWatch_ && pressWatch_->Watching(); }
    // Whether a button went down outside both menus since the last call.
    bool TakePressOutside() { return pressWatch_ && pressWatch_->TakePressOutside(); }

private:
    // Runs a row handler; windows unloaded meanwhile are freed once the
    // outermost handler has returned.
    template <typename Handler> void Dispatch(const Handler& handler) {
        ++running_;
        handler();
        if (--running_ == 0)
            retired_.clear();
    }
    MenuRowEvents EventsFor(MenuWindow::Level level);
    void OnOptionsRowEntered(std::size_t row, int rowOffset);
    void OnRowReleased(MenuWindow::Level level, std::size_t row);
    void Unload(std::unique_ptr<MenuWindow>& window);
    void OpenSubmenuOf(std::size_t row);

    MenuHost& host_;
    std::unique_ptr<MenuWindow> menu_;
    std::unique_ptr<MenuWindow> subMenu_;
    std::vector<std::unique_ptr<MenuWindow>> retired_;
    int running_ = 0;
    std::unique_ptr<OutsidePressWatch> pressWatch_;
};

// Loaded windows of this thread whose class is `className` (any letter case;
// "" counts all of the program's windows).
int LoadedWindowCount(const std::wstring& className);

// Whether the screen point, or the pointer, lies over the window's rectangle,
// its right and bottom edge included.
bool PointOverWindow(HWND window, POINT point);
bool PointerOverWindow(HWND window);

} // namespace qorvic
