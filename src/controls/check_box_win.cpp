#include "controls/check_box_win.h"

#include "base/dpi.h"
#include "controls/high_contrast_win.h"
#include "controls/control_layout.h"

#include <algorithm>

namespace qorvic {

CheckBox::CheckBox() : OwnerDrawnControl({L"QorvicCheckBox", true, false, true}) {}

bool CheckBox::Create(HWND parent, int x, int y, int width, int height, int index) {
    return CreateControl(parent, x, y, width, height, index, true);
}

void CheckBox::SetValue(bool value) {
    if (value_ == value)
        return;
    value_ = value;
    Repaint();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE, hwnd());
}

void CheckBox::OnClicked() {
    value_ = !value_;
    Repaint();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE, hwnd());
    Notify(onClick);
}

void CheckBox::Paint(HDC dc, const RECT& client) {
    const int dpi = Dpi();
    const auto layout = controls::LayoutCheckBox({0, 0, client.right, client.bottom}, dpi);
    const controls::ControlState state{Enabled(), Hovering(), LooksPressed()};
    const bool contrast = HighContrastOn();
    const controls::Look look = contrast ? controls::CheckSquareLook(state, value_, SystemPalette())
                                         : controls::CheckSquareLook(state, value_);

    RECT square{layout.square.left, layout.square.top, layout.square.right(),
                layout.square.bottom()};
    Brush border(::CreateSolidBrush(look.border));
    Brush face(::CreateSolidBrush(look.face));
    ::FillRect(dc, &square, border.get());
    RECT inner = square;
    ::InflateRect(&inner, -1, -1);
    ::FillRect(dc, &inner, face.get());

    if (value_) {
        // Two pixels thick at 96 DPI, thicker as the square grows.
        const int thickness = std::max(2, ScaleForDpi(2, dpi));
        Pen pen(::CreatePen(PS_SOLID, 1,
                            contrast ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : controls::kTickColour));
        SelectedObject selected(dc, pen.get());
        for (int dy = 0; dy < thickness; ++dy) {
            ::MoveToEx(dc, layout.tick[0].x, layout.tick[0].y + dy, nullptr);
            ::LineTo(dc, layout.tick[1].x, layout.tick[1].y + dy);
            ::LineTo(dc, layout.tick[2].x, layout.tick[2].y + dy);
        }
    }

    if (Caption().empty())
        return;
    RECT text{layout.caption.left, layout.caption.top, layout.caption.right(),
              layout.caption.bottom()};
    ::SetTextColor(dc, TextColour());
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS;
    ::DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text, format);
    if (ShowsFocus()) {
        const SIZE extent = MeasureText(Caption(), DT_SINGLELINE);
        const Box at =
            controls::PlaceText(layout.caption, extent.cx, extent.cy, controls::kAlignLeft, true);
        RECT focus{at.left - 1, at.top, std::min<LONG>(at.right() + 1, client.right), at.bottom()};
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::DrawFocusRect(dc, &focus);
    }
}

} // namespace qorvic
