// What the mouse and keyboard mean to the label, check box and button: when the
// pointer has entered, when a press becomes a click, and the button and shift
// codes the notifications carry.
#pragma once

namespace qorvic::controls {

// Button codes in mouse notifications.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Shift-state bits in mouse notifications.
inline constexpr int kShiftKey = 1;
inline constexpr int kCtrlKey = 2;
inline constexpr int kAltKey = 4;

int ShiftState(bool shift, bool ctrl, bool alt);

// Reports each entry of the pointer once, however many moves follow inside.
class HoverTracker {
public:
    // A pointer move; `inside` is false for moves seen outside while the mouse is
    // captured. True when this move is an entry.
    bool Move(bool inside);
    // The pointer left (WM_MOUSELEAVE, capture ended outside, window hidden).
    void Leave() { hovering_ = false; }
    bool Hovering() const { return hovering_; }

private:
    bool hovering_ = false;
};

// Turns presses into clicks the way push buttons do: a mouse click is a left press
// and release both inside the control; Space clicks on release, Enter at once.
// Whatever interrupts a press (capture or focus lost) cancels it.
class ClickTracker {
public:
    enum class Key { Space, Enter, Other };

    void MouseDown(bool inside);
    void MouseMove(bool inside);
    // True when the release completes a click.
    bool MouseUp(bool inside);

    // True when the key press itself is a click (Enter). Auto-repeats never click.
    bool KeyDown(Key key, bool repeat);
    // True when the release completes a click (Space).
    bool KeyUp(Key key);

    void Cancel();

    // Whether the control should look pressed now.
    bool LooksPressed() const { return (mouseDown_ && inside_) || spaceDown_; }
    // Whether a mouse press is in progress (the control holds the capture).
    bool MouseHeld() const { return mouseDown_; }

private:
    bool mouseDown_ = false;
    bool inside_ = false;
    bool spaceDown_ = false;
};

} // namespace qorvic::controls
