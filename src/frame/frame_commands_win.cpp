// The frame's side of the commands: which command a menu row or a key stands
// for, and what each command gets from the frame (the picture, the owner
// window, the folders, a way to tell the user). Every key a control does not
// use arrives here: open menus take the keys first, then the shortcuts, Tab
// through the strip and the keys that open the options menu.
#include "frame/frame_window_win.h"

#include "capture/clipboard_copy_win.h"
#include "capture/handoff_win.h"
#include "base/debug_log_win.h"
#include "capture/quick_save_win.h"
#include "languages/languages_win.h"

#include <shlobj.h>

namespace qorvic {

namespace {

bool Down(int key) {
    return ::GetKeyState(key) < 0;
}

} // namespace

MenuContent FrameWindow::CurrentMenuContent() const {
    MenuContent content;
    content.languages = &state_.languages;
    content.scaleStep = scalePanel.ScaleStep();
    content.font = state_.menuFont;
    content.dpi = Dpi();
    content.anchorLeft = optionsLabel.Left();
    content.anchorBottom = shape_.stripHeight;
    return content;
}

void FrameWindow::OnMenuRowChosen(std::int16_t menu, std::size_t row) {
    if (menu == menus::kOptionsMenu) {
        if (const std::optional<menus::OptionsRow> options = menus::OptionsRowAt(row))
            RunOptionsRow(*options);
    } else if (menu == menus::kFormatMenu) {
        if (const std::optional<ImageFormat> format = ImageFormatAt(row)) {
            const Picture& picture = Capture();
            QuickSaveOnDesktop(picture, *format, SpecialFolderPath(CSIDL_DESKTOPDIRECTORY),
                               *writer_);
        }
    } else if (menu == menus::kLanguageMenu) {
        SwitchLanguage(row);
    }
}

void FrameWindow::RunOptionsRow(menus::OptionsRow row) {
    using menus::OptionsRow;
    switch (row) {
    case OptionsRow::HandOff:
        HandOffToNorvane(hwnd(), Capture(), [this](const std::wstring& text) { Tell(text); });
        break;
    case OptionsRow::Copy:
        PutPictureOnClipboard(hwnd(), Capture());
        break;
    case OptionsRow::SaveAs:
        commands_.saveAs.Run(hwnd(), Capture(), *writer_);
        break;
    case OptionsRow::OutputSize:
        MakeScalePanel();
        scalePanel.ShowScalePanel(state_.languages.texts.TxtEquals);
        break;
    case OptionsRow::FrameColour:
        ChooseFrameColour();
        break;
    case OptionsRow::QuickSaveFormats:
    case OptionsRow::Language:
        break; // their rows open a submenu; choosing the row itself does nothing
    }
}

// The see-through area less its border, or the whole virtual screen once
// when "Capture screen" is ticked.
const Picture& FrameWindow::Capture() {
    Box source = FrameCaptureArea(shape_.seeThroughArea, Dpi());
    POINT origin{source.left, source.top};
    ::ClientToScreen(hwnd(), &origin);
    source.left = origin.x;
    source.top = origin.y;
    if (wholeScreenBox.Value()) {
        wholeScreenBox.SetValue(false); // the option holds for one capture only
        source = WholeScreenArea(
            ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
            ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    }
    commands_.capture.Take(hwnd(), source, scalePanel.ScaleStep());
    return commands_.capture.Output();
}

// A language that cannot be loaded is told in a short message.
void FrameWindow::SwitchLanguage(std::size_t row) {
    const LanguageApply apply =
        SelectLanguage(state_.languages, state_.DataFolder, static_cast<std::int16_t>(row));
    ApplyLanguage(apply);
    if (apply.failed && !apply.failureText.empty())
        Tell(apply.failureText);
}

void FrameWindow::ChooseFrameColour() {
    if (const std::optional<std::int32_t> colour = commands_.colourDialog.Pick(hwnd()))
        SetBackColour(*colour);
}

void FrameWindow::StartUpdateCheck() {
    commands_.updateCheck.Start(hwnd(), options_.homePageUrl.value_or(L"" QORVIC_HOME_URL),
                                options_.versionPageUrl.value_or(L"" QORVIC_VERSION_PAGE_URL),
                                [this] { return state_.languages.texts.TxtNewVersion; });
}

std::wstring FrameWindow::SpecialFolderPath(int csidl) const {
    if (options_.appDataFolder && csidl == CSIDL_APPDATA)
        return *options_.appDataFolder;
    if (options_.desktopFolder && csidl == CSIDL_DESKTOPDIRECTORY)
        return *options_.desktopFolder;
    // The path straight away: the item-list round trip costs a millisecond at start-up.
    wchar_t buffer[MAX_PATH] = {};
    if (const HRESULT hr = ::SHGetFolderPathW(hwnd(), csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
        hr != S_OK) {
        DebugLogError(L"no special folder " + std::to_wstring(csidl), static_cast<DWORD>(hr));
        return L"";
    }
    return std::wstring(buffer) + L"\\";
}

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
