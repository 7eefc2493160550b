#include "menus/menu_windows_win.h"

#include "base/numeric.h"
#include "base/window_win.h"
#include "menus/menu_keys.h"
#include "menus/menu_placement.h"

namespace qorvic {

namespace {

constexpr UINT kTimerInterval = 500; // milliseconds

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

menus::MenuKey MenuKeyOf(WPARAM virtualKey) {
    using menus::MenuKey;
    switch (virtualKey) {
    case VK_UP:
        return MenuKey::Up;
    case VK_DOWN:
        return MenuKey::Down;
    case VK_HOME:
        return MenuKey::Home;
    case VK_END:
        return MenuKey::End;
    case VK_RIGHT:
        return MenuKey::Right;
    case VK_LEFT:
        return MenuKey::Left;
    case VK_RETURN:
        return MenuKey::Enter;
    case VK_SPACE:
        return MenuKey::Space;
    case VK_ESCAPE:
        return MenuKey::Escape;
    default:
        return MenuKey::Other;
    }
}

} // namespace

MenuWindows::~MenuWindows() = default;

MenuRowEvents MenuWindows::EventsFor(MenuWindow::Level level) {
    MenuRowEvents events;
    if (level == MenuWindow::Level::First)
        events.entered = [this](std::size_t row, int offset) {
            Dispatch([this, row, offset] { OnOptionsRowEntered(row, offset); });
        };
    events.released = [this, level](std::size_t row) {
        Dispatch([this, level, row] { OnRowReleased(level, row); });
    };
    return events;
}

MenuWindow& MenuWindows::LoadFirstLevel() {
    Unload(menu_);
    menu_ =
        std::make_unique<MenuWindow>(MenuWindow::Level::First, EventsFor(MenuWindow::Level::First));
    menu_->Load(host_.MenuOwner(), host_.CurrentMenuContent().dpi);
    return *menu_;
}

MenuWindow& MenuWindows::LoadSecondLevel() {
    Unload(subMenu_);
    subMenu_ = std::make_unique<MenuWindow>(MenuWindow::Level::Second,
                                            EventsFor(MenuWindow::Level::Second));
    subMenu_->Load(host_.MenuOwner(), host_.CurrentMenuContent().dpi);
    return *subMenu_;
}

void MenuWindows::OpenOptionsMenu() {
    const MenuContent content = host_.CurrentMenuContent();
    static const LanguageTexts kNoTexts;
    const LanguageTexts& texts = content.languages ? content.languages->texts : kNoTexts;
    // Forget the presses so far: the click that opened the menu must not close it.
    ::GetAsyncKeyState(VK_LBUTTON);
    ::GetAsyncKeyState(VK_RBUTTON);
    const Point corner = menus::FirstLevelCorner(content.anchorLeft, content.anchorBottom,
                                                 menus::ScaledMenuMetrics(content.dpi));
    POINT screen{corner.x, corner.y};
    ::ClientToScreen(host_.MenuOwner(), &screen);

    // The menus never take the activation: their keys reach them through the owner.
    ::SetFocus(host_.MenuOwner());
    MenuWindow& menu = LoadFirstLevel();
    menu.PlaceAt(screen);
    menu.MakeMenu(menus::kOptionsMenu, menus::OptionsItems(texts, content.scaleStep), content);
    WatchPressesOutside();
    ::SetTimer(host_.MenuOwner(), kTimerId, kTimerInterval, nullptr);
}

void MenuWindows::OpenOptionsMenuFromKeyboard() {
    OpenOptionsMenu();
    if (menu_)
        menu_->SetHighlightedRow(menus::FirstShownRow(menu_->Items()));
}

void MenuWindows::OpenSubmenuOf(std::size_t row) {
    if (!menu_)
        return;
    menu_->SetHighlightedRow(row);
    OnOptionsRowEntered(row, menus::RowOffset(menu_->Layout(), row));
    if (subMenu_)
        subMenu_->SetHighlightedRow(menus::FirstShownRow(subMenu_->Items()));
}

bool MenuWindows::OnKey(WPARAM virtualKey) {
    using Kind = menus::MenuKeyAction::Kind;
    const bool inSubmenu = subMenu_ != nullptr;
    MenuWindow* window = inSubmenu ? subMenu_.get() : menu_.get();
    if (!window)
        return false;
    const menus::MenuKeyAction action =
        menus::MenuKeyActionFor(window->Items(), window->MenuNumber(), inSubmenu,
                                window->HighlightedRow(), MenuKeyOf(virtualKey));
    switch (action.kind) {
    case Kind::None:
        return false;
    case Kind::Highlight:
        window->SetHighlightedRow(action.row);
        return true;
    case Kind::OpenSubmenu:
        Dispatch([this, row = action.row] { OpenSubmenuOf(row); });
        return true;
    case Kind::CloseSubmenu:
        UnloadSecondLevel();
        return true;
    case Kind::CloseMenus:
        ::KillTimer(host_.MenuOwner(), kTimerId);
        CloseAll();
        return true;
    case Kind::Run: {
        // Exactly what a button release over the row does.
        const MenuWindow::Level level =
            inSubmenu ? MenuWindow::Level::Second : MenuWindow::Level::First;
        Dispatch([this, level, row = action.row] { OnRowReleased(level, row); });
        return true;
    }
    }
    return false;
}

// The pointer entered first-level row `row`: the quick-save formats and the
// languages open their submenu beside the row, every other row closes it.
void MenuWindows::OnOptionsRowEntered(std::size_t row, int rowOffset) {
    using menus::OptionsRow;
    UnloadSecondLevel();
    if (!menu_ || menu_->MenuNumber() != menus::kOptionsMenu)
        return;
    if (!menus::RowOpensSubmenu(menus::kOptionsMenu, row))
        return;
    const std::optional<OptionsRow> options = menus::OptionsRowAt(row);
    const MenuContent content = host_.CurrentMenuContent();
    MenuWindow& sub = LoadSecondLevel();
    RECT outer{};
    ::GetWindowRect(menu_->hwnd(), &outer);
    sub.PlaceBeside(outer, ClampToInt16(rowOffset));
    if (options == OptionsRow::QuickSaveFormats) {
        sub.MakeMenu(menus::kFormatMenu, menus::FormatItems(), content);
    } else if (content.languages) {
        const LanguageState& languages = *content.languages;
        sub.MakeMenu(menus::kLanguageMenu, languages.texts.LanguageMenu, content,
                     menus::CheckedLanguageRow(languages.languageList, languages.CurrentLanguage));
    }
}

// Activation. A first-level row closes the first level only (a submenu that is
// open stays); a submenu row closes both, so a capture never shows them.
void MenuWindows::OnRowReleased(MenuWindow::Level level, std::size_t row) {
    MenuWindow* window = level == MenuWindow::Level::First ? menu_.get() : subMenu_.get();
    if (!window)
        return;
    const std::int16_t menu = window->MenuNumber();
    if (level == MenuWindow::Level::First) {
        if (menu != menus::kOptionsMenu)
            return;
        UnloadFirstLevel();
    } else {
        CloseAll();
    }
    host_.OnMenuRowChosen(menu, row);
}

void MenuWindows::CloseAll() {
    UnloadFirstLevel();
    UnloadSecondLevel();
}

// Every 500 ms: a button pressed outside both menus closes them.
void MenuWindows::OnTimer() {
    menus::TimerLook look;
    look.menuLoaded = LoadedWindowCount(L"QorvicMenu") > 0 && menu_;
    look.overMenu = look.menuLoaded && PointerOverWindow(menu_->hwnd());
    look.subMenuLoaded = LoadedWindowCount(L"QorvicSubmenu") > 0 && subMenu_;
    look.overSubMenu = look.subMenuLoaded && PointerOverWindow(subMenu_->hwnd());
    // Both buttons are read at every tick, also over a menu, so that a press on
    // a row is not taken for a press outside at a later tick.
    const SHORT left = ::GetAsyncKeyState(VK_LBUTTON);
    const SHORT right = ::GetAsyncKeyState(VK_RBUTTON);
    if (WatchingPressesOutside()) {
        // The watch saw where each press was; the key state adds a button held now.
        look.pressedOutside = TakePressOutside();
        look.buttonPressed = ((left | right) & 0x8000) != 0;
    } else {
        look.buttonPressed = left != 0 || right != 0;
    }
    if (!menus::MenusCloseOnTick(look))
        return;
    ::KillTimer(host_.MenuOwner(), kTimerId);
    CloseAll();
}

void MenuWindows::WatchPressesOutside() {
    pressWatch_ = std::make_unique<OutsidePressWatch>([this](POINT point) {
        return (menu_ && PointOverWindow(menu_->hwnd(), point)) ||
               (subMenu_ && PointOverWindow(subMenu_->hwnd(), point));
    });
}

void MenuWindows::Unload(std::unique_ptr<MenuWindow>& window) {
    if (!window)
        return;
    if (HWND handle = window->hwnd()) {
        ::ShowWindow(handle, SW_HIDE);
        ::DestroyWindow(handle);
    }
    retired_.push_back(std::move(window));
    if (running_ == 0)
        retired_.clear();
    // With no menu on the screen the hook would only slow every mouse event down.
    if (!menu_ && !subMenu_)
        pressWatch_.reset();
}

int LoadedWindowCount(const std::wstring& className) {
    std::vector<std::wstring> names;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectClassName,
                        reinterpret_cast<LPARAM>(&names));
    return menus::CountLoadedWindows(names, className);
}

bool PointOverWindow(HWND window, POINT point) {
    RECT rect{};
    if (!window || !::GetWindowRect(window, &rect))
        return false;
    return menus::PointerOverRect({point.x, point.y},
                                  {rect.left, rect.top, rect.right, rect.bottom});
}

bool PointerOverWindow(HWND window) {
    POINT pointer{};
    return ::GetCursorPos(&pointer) && PointOverWindow(window, pointer);
}

} // namespace qorvic
