#include "update/update_prompt_win.h"

#include "base/debug_log_win.h"
#include "base/dpi.h"
#include "base/file_io_win.h"
#include "base/handles_win.h"
#include "res/resource_ids.h"
#include "update/update_prompt_layout.h"

#include <shellapi.h>

namespace qorvic {

namespace {

constexpr wchar_t kClassName[] = L"QorvicUpdatePrompt";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr COLORREF kBackground = RGB(192, 192, 192);

// The folder of our own executable, without a trailing separator.
std::wstring ProgramFolder() {
    const std::wstring path = ModulePath();
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash);
}

void OpenWithShell(HWND owner, const std::wstring& url, const std::wstring& folder) {
    // When nothing is registered for web addresses nothing opens; the prompt closes all the same.
    const HINSTANCE result =
        ::ShellExecuteW(owner, nullptr, url.c_str(), nullptr,
                        folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
    // Values up to 32 are errors; the prompt closes all the same.
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        DebugLogError(L"cannot open " + url, static_cast<DWORD>(reinterpret_cast<INT_PTR>(result)));
}

} // namespace

UpdatePrompt::UpdatePrompt() : Window(Painting::Covering), openPage(&OpenWithShell) {}

UpdatePrompt::~UpdatePrompt() {
    // A prompt torn down with its owner still gives the main window back.
    if (hwnd())
        Shutdown();
}

bool UpdatePrompt::Load(HWND mainWindow, std::int16_t twipsPerPixelX, std::int16_t twipsPerPixelY,
                        const std::wstring& versionPageUrl) {
    if (hwnd())
        return false;
    mainWindow_ = mainWindow;
    twipsPerPixelX_ = twipsPerPixelX;
    twipsPerPixelY_ = twipsPerPixelY;
    versionPageUrl_ = versionPageUrl;
    unloaded_ = false;

    // The prompt opens beside the main window, so on its monitor and at its scale.
    SetDpi(DpiOf(mainWindow));
    geometry_ = PromptGeometryForDpi(Dpi());
    RECT outer{0, 0, geometry_.clientWidth, geometry_.clientHeight};
    ::AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    if (!CreateWin({.className = kClassName,
                    .title = L"Brimlow",
                    .style = kStyle,
                    .exStyle = kExStyle,
                    .x = CW_USEDEFAULT,
                    .y = CW_USEDEFAULT,
                    .width = outer.right - outer.left,
                    .height = outer.bottom - outer.top,
                    .parent = mainWindow}))
        return false;
    // The design-time controls; OnLoad places the buttons.
    messageLabel.Create(hwnd(), geometry_.label.left, geometry_.label.top, geometry_.label.width,
                        geometry_.label.height);
    messageLabel.SetFontName(L"Arial");
    messageLabel.SetFontSize(12.0f);
    yesButton.Create(hwnd(), 0, 0, 0, 0, 0);
    yesButton.SetCaption(L"Yes");
    noButton.Create(hwnd(), 0, 0, 0, 0, 1);
    noButton.SetCaption(L"No");
    for (Button* button : {&yesButton, &noButton}) {
        button->SetFontName(L"Arial");
        button->SetFontSize(9.75f);
    }
    yesButton.onClick = [this] { OnYes(); };
    noButton.onClick = [this] { OnNo(); };

    OnLoad();
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::UpdateWindow(hwnd());
    ::SetFocus(noButton.hwnd()); // "No" is the safe answer for Enter
    return true;
}

void UpdatePrompt::OnLoad() {
    ::EnableWindow(mainWindow_, FALSE);
    ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT main{};
    ::GetWindowRect(mainWindow_, &main);
    const Point at = PlacePrompt(main.left, main.top, twipsPerPixelX_, twipsPerPixelY_);
    ::SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const Box& yes = geometry_.yes;
    const Box& no = geometry_.no;
    yesButton.Move(yes.left, yes.top, yes.width, yes.height);
    noButton.Move(no.left, no.top, no.width, no.height);
    if (beep)
        beep(kPromptBeepHz, kPromptBeepMs);
}

void UpdatePrompt::OnYes() {
    if (openPage)
        openPage(hwnd(), versionPageUrl_, ProgramFolder());
    Close();
}

void UpdatePrompt::OnNo() {
    Close();
}

void UpdatePrompt::Shutdown() {
    if (unloaded_)
        return;
    unloaded_ = true;
    ::EnableWindow(mainWindow_, TRUE);
}

// The main window is enabled before the prompt goes, so the activation returns
// to it rather than to some other program's window.
void UpdatePrompt::Close() {
    Shutdown();
    if (hwnd())
        ::DestroyWindow(hwnd());
}

bool UpdatePrompt::OnKey(WPARAM key) {
    switch (key) {
    case 'Y':
        OnYes();
        return true;
    case 'N':
    case VK_RETURN:
        OnNo();
        return true;
    case VK_ESCAPE:
        Close();
        return true;
    case VK_TAB: {
        const HWND next = ::GetFocus() == noButton.hwnd() ? yesButton.hwnd() : noButton.hwnd();
        ::SetFocus(next);
        ::SendMessageW(next, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        return true;
    }
    default:
        return false;
    }
}

void UpdatePrompt::PaintIcon(HDC dc) {
    const Box& image = geometry_.image;
    const int x = image.left, y = image.top;
    // The program's own icon at the size it is shown at (32 pixels at 96 DPI),
    // so the system picks the nearest drawn size rather than stretching one.
    // LR_SHARED: the system owns it, nothing to free.
    if (HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                     MAKEINTRESOURCEW(IDI_QORVIC), IMAGE_ICON,
                                                     image.width, image.height, LR_SHARED))) {
        ::DrawIconEx(dc, x, y, icon, image.width, image.height, 0, nullptr, DI_NORMAL);
        return;
    }
    const auto s = [this](int designed) { return ScaleForDpi(designed, Dpi()); };
    // A build without the icon resource (the in-process tests): a blue disc
    // with a white arrow pointing down, something new to fetch.
    Brush disc(::CreateSolidBrush(RGB(0, 84, 166)));
    Pen rim(::CreatePen(PS_SOLID, s(1), RGB(0, 50, 110)));
    {
        SelectedObject brush(dc, disc.get());
        SelectedObject pen(dc, rim.get());
        ::Ellipse(dc, x + s(2), y + s(2), x + s(30), y + s(30));
    }
    const POINT arrow[] = {{x + s(13), y + s(7)},  {x + s(19), y + s(7)},  {x + s(19), y + s(16)},
                           {x + s(24), y + s(16)}, {x + s(16), y + s(25)}, {x + s(8), y + s(16)},
                           {x + s(13), y + s(16)}};
    Brush white(::CreateSolidBrush(RGB(255, 255, 255)));
    Pen outline(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    SelectedObject brush(dc, white.get());
    SelectedObject pen(dc, outline.get());
    ::Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
}

void UpdatePrompt::PaintClient(HDC dc) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    Brush background(::CreateSolidBrush(kBackground));
    ::FillRect(dc, &client, background.get());
    PaintIcon(dc);
}

LRESULT UpdatePrompt::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        Shutdown(); // also when the main window's shutdown unloads the prompt
        return 0;
    case WM_SETFOCUS: // the prompt itself activated: its focus is on a button
        ::SetFocus(noButton.hwnd());
        return 0;
    case WM_KEYDOWN: // what the buttons leave
        return OnKey(wParam) ? 0 : Default(msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace qorvic
