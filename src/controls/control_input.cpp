#include "controls/control_input.h"

namespace qorvic::controls {

int ShiftState(bool shift, bool ctrl, bool alt) {
    return (shift ? kShiftKey : 0) | (ctrl ? kCtrlKey : 0) | (alt ? kAltKey : 0);
}

bool HoverTracker::Move(bool inside) {
    const bool entered = inside && !hovering_;
    hovering_ = inside;
    return entered;
}

void ClickTracker::MouseDown(bool inside) {
    // A mouse press takes over from a half-done Space press, as buttons do.
    spaceDown_ = false;
    mouseDown_ = inside;
    inside_ = inside;
}

void ClickTracker::MouseMove(bool inside) {
    if (mouseDown_)
        inside_ = inside;
}

bool ClickTracker::MouseUp(bool inside) {
    const bool click = mouseDown_ && inside;
    mouseDown_ = false;
    inside_ = false;
    return click;
}

bool ClickTracker::KeyDown(Key key, bool repeat) {
    if (repeat || mouseDown_)
        return false;
    if (key == Key::Space)
        spaceDown_ = true;
    return key == Key::Enter && !spaceDown_;
}

bool ClickTracker::KeyUp(Key key) {
    if (key != Key::Space || !spaceDown_)
        return false;
    spaceDown_ = false;
    return true;
}

void ClickTracker::Cancel() {
    mouseDown_ = false;
    inside_ = false;
    spaceDown_ = false;
}

} // namespace qorvic::controls
