// The main window's side of the popup menus: opening the first level from the
// options label, the submenu beside the hovered row, the commands of the
// first-level rows and the timer that closes the menus.
#include "frame/frame_window_win.h"
#include "menus/menu_placement.h"
#include "menus/menu_window_win.h"

#include <vector>

namespace qorvic {

namespace {

constexpr UINT_PTR kMenuTimerId = 0x4D4E;
constexpr UINT kMenuTimerInterval = 500; // milliseconds

void CALLBACK MenuTimerTick(HWND hwnd, UINT, UINT_PTR, DWORD) {
    if (auto* form = static_cast<FrameWindow*>(Window::FromHandle(hwnd)))
        form->OnMenuTimer();
}

// The class names of this thread's loaded windows (the menus register theirs
// as their window class).
BOOL CALLBACK CollectClassName(HWND hwnd, LPARAM names) {
    if (!Window::FromHandle(hwnd))
        return TRUE;
    wchar_t className[64] = {};
    ::GetClassNameW(hwnd, className, 64);
    reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(className);
    return TRUE;
}

} // namespace

MenuWindows& FrameWindow::Menus() {
    if (!menus_)
        menus_ = std::make_shared<MenuWindows>(*this);
    return *menus_;
}

void FrameWindow::ConnectMenus() {
    optionsLabel.onClick = [this] { OpenOptionsMenu(); };
    onCloseMenus = [this] { CloseMenus(); };
}

// Opens the first-level menu below the options label.
void FrameWindow::OpenOptionsMenu() {
    state_.OptionsItems = menus::OptionsItems(state_.texts, ScaleStep);
    // Forget the presses so far: the click that opened the menu must not close it.
    ::GetAsyncKeyState(VK_LBUTTON);
    ::GetAsyncKeyState(VK_RBUTTON);
    const Point corner = menus::FirstLevelCorner(optionsLabel.Left(), MenuBarHeight,
                                                 menus::ScaledMenuMetrics(Dpi()));
    POINT screen{corner.x, corner.y};
    ::ClientToScreen(hwnd(), &screen);

    MenuWindow& menu = Menus().LoadFirstLevel();
    menu.PlaceAt(screen);
    menu.MakeMenu(menus::kOptionsMenu);
    Menus().WatchPressesOutside();
    ::SetTimer(hwnd(), kMenuTimerId, kMenuTimerInterval, &MenuTimerTick);
}

// The pointer entered first-level row `index`: the quick-save formats and
// the languages open their submenu beside the row, every other row closes it.
void FrameWindow::OnOptionsRowEntered(std::int16_t index, std::int16_t offset) {
    using menus::OptionsRow;
    MenuWindows& windows = Menus();
    windows.UnloadSecondLevel();
    const std::optional<OptionsRow> row = menus::OptionsRowAt(static_cast<std::size_t>(index));
    if (row != OptionsRow::QuickSaveFormats && row != OptionsRow::Language)
        return;
    if (row == OptionsRow::QuickSaveFormats)
        state_.FormatItems = menus::FormatItems();
    MenuWindow& sub = windows.LoadSecondLevel();
    if (MenuWindow* parent = windows.FirstLevel()) {
        RECT outer{};
        ::GetWindowRect(parent->hwnd(), &outer);
        sub.PlaceBeside(outer, offset);
    }
    sub.MakeMenu(row == OptionsRow::QuickSaveFormats ? menus::kFormatMenu : menus::kLanguageMenu);
}

// A button went up over a first-level row: the menu closes, then the row's
// command runs. The rows with a submenu only close it; their submenu stays.
void FrameWindow::RunOptionsRow(menus::OptionsRow row) {
    using menus::OptionsRow;
    Menus().UnloadFirstLevel();
    switch (row) {
    case OptionsRow::HandOff:
        HandOffCapture();
        break;
    case OptionsRow::Copy:
        CopyCaptureToClipboard();
        break;
    case OptionsRow::SaveAs:
        SaveCaptureAs();
        break;
    case OptionsRow::OutputSize:
        ShowScalePanel();
        break;
    case OptionsRow::FrameColour:
        ChooseFrameColour();
        break;
    case OptionsRow::QuickSaveFormats:
    case OptionsRow::Language:
        break;
    }
}

void FrameWindow::CloseMenus() {
    Menus().UnloadFirstLevel();
    Menus().UnloadSecondLevel();
}

// Every 500 ms: a button pressed outside both menus closes them.
void FrameWindow::OnMenuTimer() {
    MenuWindows& windows = Menus();
    menus::TimerLook look;
    look.menuLoaded = LoadedWindowCount(L"QorvicMenu") > 0 && windows.FirstLevel();
    look.overMenu = look.menuLoaded && PointerOverWindow(windows.FirstLevel()->hwnd());
    look.subMenuLoaded = LoadedWindowCount(L"QorvicSubmenu") > 0 && windows.SecondLevel();
    look.overSubMenu = look.subMenuLoaded && PointerOverWindow(windows.SecondLevel()->hwnd());
    // Both buttons are read at every tick, also over a menu, so that a press on
    // a row is not taken for a press outside at a later tick.
    const SHORT left = ::GetAsyncKeyState(VK_LBUTTON);
    const SHORT right = ::GetAsyncKeyState(VK_RBUTTON);
    if (windows.WatchingPressesOutside()) {
        // The watch saw where each press was; the key state adds a button held now.
        look.pressedOutside = windows.TakePressOutside();
        look.buttonPressed = ((left | right) & 0x8000) != 0;
    } else {
        look.buttonPressed = left != 0 || right != 0;
    }
    if (!menus::MenusCloseOnTick(look))
        return;
    ::KillTimer(hwnd(), kMenuTimerId);
    windows.UnloadFirstLevel();
    windows.UnloadSecondLevel();
}

int FrameWindow::LoadedWindowCount(const std::wstring& name) const {
    std::vector<std::wstring> names;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectClassName,
                        reinterpret_cast<LPARAM>(&names));
    return menus::CountLoadedWindows(names, name);
}

} // namespace qorvic
