#include "menus/outside_press_win.h"

#include <utility>

namespace qorvic {

namespace {
// The hook procedure runs on the thread that installed it and reports to that
// thread's newest watch.
thread_local OutsidePressWatch* current = nullptr;
} // namespace

OutsidePressWatch::OutsidePressWatch(std::function<bool(POINT)> overMenus)
    : overMenus_(std::move(overMenus)) {
    current = this;
    hook_.reset(::SetWindowsHookExW(WH_MOUSE_LL, &OnMouse, ::GetModuleHandleW(nullptr), 0));
}

OutsidePressWatch::~OutsidePressWatch() {
    hook_.reset();
    if (current == this)
        current = nullptr;
}

bool OutsidePressWatch::TakePressOutside() {
    return std::exchange(pressedOutside_, false);
}

LRESULT CALLBACK OutsidePressWatch::OnMouse(int code, WPARAM message, LPARAM event) {
    const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                       message == WM_MBUTTONDOWN || message == WM_XBUTTONDOWN;
    if (code == HC_ACTION && current && press) {
        const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(event);
        if (!current->overMenus_ || !current->overMenus_(mouse->pt))
            current->pressedOutside_ = true;
    }
    return ::CallNextHookEx(nullptr, code, message, event);
}

} // namespace qorvic
