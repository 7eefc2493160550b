// The main window's side of the popup menus: opening the first level from the
// options label, the submenu beside the hovered row, the commands of the
// first-level rows and the timer that closes the menus.
#include "frame/frame_window_win.h"
#include "menus/menu_placement.h"
#include "menus/menu_window_win.h"

#include <vector>

namespace qorvic {

namespace {

constexpr UINT_PTR kMenuTimerId = 0x4D4E; // tmrMenus
constexpr UINT kMenuTimerInterval = 500;  // milliseconds

void CALLBACK MenuTimerTick(HWND hwnd, UINT, UINT_PTR, DWORD) {
    if (auto* form = static_cast<FrameWindow*>(Window::FromHandle(hwnd)))
        form->tmrMenus_Timer();
}

// The form names of this thread's loaded windows (the menus register theirs
// as their window class).
BOOL CALLBACK CollectFormName(HWND hwnd, LPARAM names) {
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
    const menus::Point corner = menus::FirstLevelCorner(optionsLabel.Left(), MenuBarHeight,
                                                        menus::ScaledMenuMetrics(Dpi()));
    POINT screen{corner.x, corner.y};
    ::ClientToScreen(hwnd(), &screen);

    MenuWindow& menu = Menus().LoadFrmMenu();
    menu.PlaceAt(screen);
    menu.MakeMenu(menus::kOptionsMenu);
    Menus().WatchPressesOutside();
    ::SetTimer(hwnd(), kMenuTimerId, kMenuTimerInterval, &MenuTimerTick);
}

// The pointer entered first-level row `index`: rows 3 and 6 open their
// submenu beside the row, every other row closes it.
void FrameWindow::MnuOptionsSubMnu(std::int16_t index, std::int16_t offset) {
    MenuWindows& windows = Menus();
    windows.UnloadFrmSubMenu();
    if (index != menus::kFormatsRow && index != menus::kLanguagesRow)
        return;
    if (index == menus::kFormatsRow)
        state_.FormatItems = menus::FormatItems();
    MenuWindow& sub = windows.LoadFrmSubMenu();
    if (MenuWindow* parent = windows.frmMenu()) {
        RECT outer{};
        ::GetWindowRect(parent->hwnd(), &outer);
        sub.PlaceBeside(outer, offset);
    }
    sub.MakeMenu(index == menus::kFormatsRow ? menus::kFormatMenu : menus::kLanguageMenu);
}

// A button went up over first-level row `ind`: the menu closes, then the row's
// command runs. Rows 3 and 6 only close it; their submenu stays.
void FrameWindow::MnuOptionsClick(std::int16_t ind, const std::wstring& cap) {
    (void)cap;
    Menus().UnloadFrmMenu();
    switch (ind) {
    case 0:
        HandOffCapture();
        break;
    case 1:
        CopyCaptureToClipboard();
        break;
    case 2:
        SaveCaptureAs();
        break;
    case 4:
        ShowScalePanel();
        break;
    case 5:
        ChooseFrameColour();
        break;
    default:
        break;
    }
}

void FrameWindow::CloseMenus() {
    Menus().UnloadFrmMenu();
    Menus().UnloadFrmSubMenu();
}

// Every 500 ms: a button pressed outside both menus closes them.
void FrameWindow::tmrMenus_Timer() {
    MenuWindows& windows = Menus();
    menus::TimerLook look;
    look.menuLoaded = LoadedFormCount(L"frmMenu") > 0 && windows.frmMenu();
    look.overMenu = look.menuLoaded && PointerOverWindow(windows.frmMenu()->hwnd());
    look.subMenuLoaded = LoadedFormCount(L"frmSubMenu") > 0 && windows.frmSubMenu();
    look.overSubMenu = look.subMenuLoaded && PointerOverWindow(windows.frmSubMenu()->hwnd());
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
    windows.UnloadFrmMenu();
    windows.UnloadFrmSubMenu();
}

int FrameWindow::LoadedFormCount(const std::wstring& name) const {
    std::vector<std::wstring> names;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectFormName, reinterpret_cast<LPARAM>(&names));
    return menus::CountLoadedForms(names, name);
}

} // namespace qorvic
