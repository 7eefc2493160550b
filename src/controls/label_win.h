// The program's text label: a Unicode caption in a chosen font, drawn over what
// lies behind it, sizing itself to its text on request, with click, pointer-enter
// and button-release notifications. Menus build rows of them as control arrays.
#pragma once

#include "controls/owner_drawn_win.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qorvic {

class Label : public OwnerDrawnControl {
public:
    Label();

    // A child window of `parent`; `index` is the element index in a control array.
    bool Create(HWND parent, int x, int y, int width, int height, int index = 0);
    // A further element of a control array: same parent, place and design
    // properties as `model` (caption, tag, font, colours, alignment, sizing,
    // transparency), starting hidden.
    bool CreateLike(const Label& model, int index);

    // When on, the label takes the width and height of its caption in its font;
    // when off, the caption wraps at word boundaries within the label's width.
    void SetAutoSize(bool autoSize);
    bool AutoSize() const { return autoSize_; }
    // Default true: the parent's drawing shows around the text.
    void SetTransparent(bool transparent) { SetTransparentBackground(transparent); }
    bool Transparent() const { return TransparentBackground(); }
    // The fill when not transparent.
    void SetBackColor(COLORREF colour);
    // 0 left, 1 right, 2 centre; other values are refused.
    bool SetAlignment(int alignment);
    int Alignment() const { return alignment_; }
    // A tab stop whose Enter and Space go to the parent (the strip's options label).
    void SetTakesFocus(bool takesFocus) { SetFocusable(takesFocus, false); }
    // Default off (text at the top, like classic labels).
    void SetVerticalCentre(bool centre);

    std::function<void()> onClick;
    // The pointer entered the label.
    std::function<void()> onMouseEnter;
    // button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; x, y in the
    // label's client pixels. Only releases over the label are reported.
    std::function<void(int button, int shift, int x, int y)> onMouseUp;

protected:
    void Paint(HDC dc, const RECT& client) override;
    void OnContentChanged() override;
    void OnPointerEntered() override;
    bool OnMouseReleased(int button, int shift, int x, int y) override;
    void OnClicked() override;
    long AccRole(long) const override { return ROLE_SYSTEM_STATICTEXT; }
    std::wstring AccDefaultAction(long) const override { return onClick ? L"Click" : L""; }

private:
    UINT TextFormat() const;

    bool autoSize_ = false;
    bool centreVertically_ = false;
    int alignment_ = 0;
    COLORREF backColour_;
};

} // namespace qorvic

// The three controls come as a set; the other two live in their own headers.
#include "controls/button_win.h"
#include "controls/check_box_win.h"
