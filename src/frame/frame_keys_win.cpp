// The frame's keyboard: every key a control does not use arrives here. Open
// menus take the keys first; then the shortcuts, Tab through the strip and the
// keys that open the options menu.
#include "frame/frame_window_win.h"

namespace qorvic {

namespace {

bool Down(int key) {
    return ::GetKeyState(key) < 0;
}

} // namespace

void FrameWindow::FocusControl(HWND control) {
    ::SetFocus(control);
    // Moving the focus by keyboard turns the focus rectangles on.
    ::SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    ::SendMessageW(control, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

bool FrameWindow::OnKeyDown(WPARAM key) {
    if (menus_.AnyOpen()) {
        menus_.OnKey(key);
        return true; // nothing else acts while a menu is open
    }
    const HWND focus = ::GetFocus();
    switch (key) {
    case VK_F10:
    case VK_APPS:
        if (key == VK_F10 && Down(VK_MENU))
            return false;
        menus_.OpenOptionsMenuFromKeyboard();
        return true;
    case VK_RETURN:
    case VK_SPACE:
        if (focus != optionsLabel.hwnd())
            return false;
        menus_.OpenOptionsMenuFromKeyboard();
        return true;
    case VK_ESCAPE:
        if (!scalePanel.Visible())
            return false;
        scalePanel.OnCloseClicked();
        return true;
    case VK_TAB:
        // The strip's two tab stops; the scaling panel keeps its own.
        FocusControl(focus == optionsLabel.hwnd() ? wholeScreenBox.hwnd() : optionsLabel.hwnd());
        return true;
    case 'C':
    case 'S':
        if (!Down(VK_CONTROL) || Down(VK_MENU))
            return false;
        OnMenuRowChosen(menus::kOptionsMenu,
                        static_cast<std::size_t>(key == 'C' ? menus::OptionsRow::Copy
                                                            : menus::OptionsRow::SaveAs));
        return true;
    default:
        return false;
    }
}

} // namespace qorvic
