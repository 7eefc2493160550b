#include "controls/button_win.h"

#include "base/dpi.h"
#include "controls/high_contrast_win.h"
#include "controls/control_layout.h"

namespace qorvic {

Button::Button() : OwnerDrawnControl({L"QorvicButton", true, true, false}) {}

bool Button::Create(HWND parent, int x, int y, int width, int height, int index) {
    return CreateControl(parent, x, y, width, height, index, true);
}

void Button::OnClicked() {
    Notify(onClick);
}

void Button::Paint(HDC dc, const RECT& client) {
    const controls::ControlState state{Enabled(), Hovering(), LooksPressed()};
    const controls::Look look = HighContrastOn() ? controls::ButtonLook(state, SystemPalette())
                                                 : controls::ButtonLook(state);
    Brush border(::CreateSolidBrush(look.border));
    Brush face(::CreateSolidBrush(look.face));
    ::FillRect(dc, &client, border.get());
    RECT inner = client;
    ::InflateRect(&inner, -1, -1);
    ::FillRect(dc, &inner, face.get());

    ::SetTextColor(dc, look.text);
    RECT text = inner;
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    ::DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text, format);
    if (ShowsFocus()) {
        RECT focus = client;
        const int inset = ScaleForDpi(3, Dpi());
        ::InflateRect(&focus, -inset, -inset);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::DrawFocusRect(dc, &focus);
    }
}

} // namespace qorvic
