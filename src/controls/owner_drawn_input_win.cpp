// The pointer and the keys of an owner-drawn control: hover, presses held
// until release, clicks by mouse and keyboard, and the keys it hands on.
#include "controls/owner_drawn_win.h"

#include <windowsx.h>

namespace qorvic {

namespace {

int ShiftFromKeys(WPARAM keys) {
    return controls::ShiftState((keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0,
                                ::GetKeyState(VK_MENU) < 0);
}

controls::ClickTracker::Key KeyOf(WPARAM vk, bool enterClicks) {
    if (vk == VK_SPACE)
        return controls::ClickTracker::Key::Space;
    if (vk == VK_RETURN && enterClicks)
        return controls::ClickTracker::Key::Enter;
    return controls::ClickTracker::Key::Other;
}

} // namespace

void OwnerDrawnControl::CancelPress() {
    const bool held = clicks_.MouseHeld();
    clicks_.Cancel();
    if (held && ::GetCapture() == hwnd())
        ::ReleaseCapture();
}

LRESULT OwnerDrawnControl::OnMouseMove(LPARAM lParam) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool inside = ::PtInRect(&client, p) != FALSE;
    const bool wasPressed = clicks_.LooksPressed();
    const bool wasHover = hover_.Hovering();
    clicks_.MouseMove(inside);
    const bool entered = hover_.Move(inside);
    if (inside && !trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    if (wasPressed != clicks_.LooksPressed() || wasHover != hover_.Hovering())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
    if (entered)
        OnPointerEntered();
    return 0;
}

LRESULT OwnerDrawnControl::OnButtonDown(int button, LPARAM lParam) {
    if (design_.focusable && ::GetFocus() != hwnd())
        ::SetFocus(hwnd());
    if (button != controls::kLeftButton)
        return 0;
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    clicks_.MouseDown(::PtInRect(&client, p) != FALSE);
    // Held so that a release outside is seen, and is not a click.
    ::SetCapture(hwnd());
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    return 0;
}

LRESULT OwnerDrawnControl::OnButtonUp(int button, WPARAM wParam, LPARAM lParam) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool inside = ::PtInRect(&client, p) != FALSE;
    bool click = false;
    if (button == controls::kLeftButton) {
        click = clicks_.MouseUp(inside);
        if (::GetCapture() == hwnd())
            ::ReleaseCapture();
        if (!inside)
            hover_.Leave();
        ::InvalidateRect(hwnd(), nullptr, FALSE);
    }
    // Notifications last: an owner may destroy the control in any of them.
    if (inside && !OnMouseReleased(button, ShiftFromKeys(wParam), p.x, p.y))
        return 0;
    if (click)
        OnClicked();
    return 0;
}

void OwnerDrawnControl::SetFocusable(bool focusable, bool keysClick) {
    design_.focusable = focusable;
    design_.keysClick = keysClick;
    if (!hwnd())
        return;
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd(), GWL_STYLE);
    ::SetWindowLongPtrW(hwnd(), GWL_STYLE, focusable ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

// Keys a control does not use go to its parent, which moves the focus, runs
// shortcuts and drives open menus.
LRESULT OwnerDrawnControl::ForwardKey(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = ::GetParent(hwnd()))
        return ::SendMessageW(parent, msg, wParam, lParam);
    return Default(msg, wParam, lParam);
}

LRESULT OwnerDrawnControl::OnKey(bool down, WPARAM wParam, LPARAM lParam) {
    if (!design_.focusable)
        return ForwardKey(down ? WM_KEYDOWN : WM_KEYUP, wParam, lParam);
    if (!keyboardCues_) {
        keyboardCues_ = true;
        ::InvalidateRect(hwnd(), nullptr, FALSE);
    }
    const auto key = design_.keysClick ? KeyOf(wParam, design_.clickOnEnter)
                                       : controls::ClickTracker::Key::Other;
    if (key == controls::ClickTracker::Key::Other)
        return ForwardKey(down ? WM_KEYDOWN : WM_KEYUP, wParam, lParam);
    const bool wasPressed = clicks_.LooksPressed();
    const bool repeat = (lParam & (1 << 30)) != 0;
    const bool click = down ? clicks_.KeyDown(key, repeat) : clicks_.KeyUp(key);
    if (wasPressed != clicks_.LooksPressed())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
    if (click)
        OnClicked();
    return 0;
}

} // namespace qorvic
