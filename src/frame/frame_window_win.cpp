#include "frame/frame_window_win.h"

#include "base/debug_log_win.h"
#include "base/dpi.h"
#include "base/dpi_win.h"
#include "base/file_io_win.h"
#include "base/numeric.h"
#include "controls/high_contrast_win.h"
#include "controls/menu_font.h"
#include "frame/frame_colour.h"
#include "frame/settings_file.h"
#include "languages/languages_win.h"

#include <shlobj.h>

namespace qorvic {

namespace {

constexpr wchar_t kFormClass[] = L"QorvicFrame";
// At 96 DPI: 4560 x 3420 twips at 15 twips per pixel.
constexpr int kDesignedClientWidth = 304;
constexpr int kDesignedClientHeight = 228;
constexpr COLORREF kKeyColourRef = RGB(0, 255, 255);
// Distinct from the menus' closing timer, which also ticks on the frame.
constexpr UINT_PTR kUpdateCheckTimerId = 0x5543;
constexpr unsigned kUpdateCheckDelayMs = 1000;
// The shortest timer: its tick comes only once the frame has nothing else to do.
constexpr UINT_PTR kScalePanelTimerId = 0x5350;
constexpr unsigned kScalePanelDelayMs = USER_TIMER_MINIMUM;

// Hides and unloads every window this program's base created on this thread.
BOOL CALLBACK UnloadWindow(HWND hwnd, LPARAM self) {
    if (reinterpret_cast<HWND>(self) == hwnd || !Window::FromHandle(hwnd))
        return TRUE;
    ::ShowWindow(hwnd, SW_HIDE);
    ::DestroyWindow(hwnd);
    return TRUE;
}

} // namespace

FrameWindow::FrameWindow(Options options)
    : Window(Painting::OffScreen), options_(std::move(options)) {} // off-screen: no flicker

FrameWindow::~FrameWindow() = default;

bool FrameWindow::Load(int showCommand) {
    // The window does not exist yet: the screen's DPI sizes it; a window that
    // opens on a monitor of another scale gets WM_DPICHANGED at once.
    const int dpi = DpiOf(nullptr);
    RECT outer{0, 0, ScaleForDpi(kDesignedClientWidth, dpi),
               ScaleForDpi(kDesignedClientHeight, dpi)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&outer, style, FALSE, 0);
    // Topmost and layered from the start: changing both on the new window
    // costs the display server round trips before the first paint.
    if (!CreateWin({.className = kFormClass,
                    .title = L"Qorvic",
                    .style = style,
                    .exStyle = WS_EX_TOPMOST | WS_EX_LAYERED,
                    .x = CW_USEDEFAULT,
                    .y = CW_USEDEFAULT,
                    .width = outer.right - outer.left,
                    .height = outer.bottom - outer.top}))
        return false;
    // The strip's design-time controls exist before the load handler runs.
    optionsLabel.Create(hwnd(), 10, 2, 40, 16);
    optionsLabel.SetAutoSize(true);
    optionsLabel.SetCaption(L"Options");
    wholeScreenBox.Create(hwnd(), 60, 2, 200, 16);
    wholeScreenBox.SetCaption(L"Capture screen");
    optionsLabel.SetTakesFocus(true);
    optionsLabel.onClick = [this] { menus_.OpenOptionsMenu(); };

    OnLoad();
    ::ShowWindow(hwnd(), showCommand);
    ::UpdateWindow(hwnd());
    // What the first paint does not need comes after it: the hidden scaling
    // panel once the frame waits for input (its windows and font would keep
    // the frame from taking input that much longer), and, once the frame has
    // settled, the update check, whose thread and network DLLs would otherwise
    // compete with the frame's first moments.
    const unsigned panelDelay = options_.scalePanelDelayMs.value_or(kScalePanelDelayMs);
    if (panelDelay == 0 || !::SetTimer(hwnd(), kScalePanelTimerId, panelDelay, nullptr))
        MakeScalePanel();
    const unsigned delay = options_.updateCheckDelayMs.value_or(kUpdateCheckDelayMs);
    if (delay == 0 || !::SetTimer(hwnd(), kUpdateCheckTimerId, delay, nullptr))
        StartUpdateCheck();
    return true;
}

void FrameWindow::MakeScalePanel() {
    ::KillTimer(hwnd(), kScalePanelTimerId);
    if (!scalePanel.hwnd())
        scalePanel.Create(hwnd(), state_.TwipsPerPixelX, state_.TwipsPerPixelY);
}

// Start-up: every step runs whatever happened to the one before it.
void FrameWindow::OnLoad() {
    if (!::SetLayeredWindowAttributes(hwnd(), kKeyColourRef, 0, LWA_COLORKEY))
        DebugLogLastError(L"the frame's key colour was not set");

    state_.DataFolder = SpecialFolderPath(CSIDL_APPDATA) + L"Qorvic";
    if (!PathExists(state_.DataFolder) &&
        !::CreateDirectoryW(state_.DataFolder.c_str(), nullptr)) // one level only
        DebugLogLastError(L"cannot create the data folder " + state_.DataFolder);

    writer_.emplace(state_.DataFolder, [this](const std::wstring& text) { Tell(text); });

    ReadSettings();

    ApplyDpi();
    // At 96 DPI, so the point size is the font's real one; the controls and
    // menus scale it once, by their window's DPI.
    const LOGFONTW& font = NonClientMetricsAtDesignDpi().lfMenuFont;
    state_.menuFont =
        MenuFontFromLogFont(font.lfHeight, font.lfWeight, font.lfItalic,
                            std::wstring(font.lfFaceName, font.lfFaceName + LF_FACESIZE));
    ApplyMenuFont(optionsLabel);
    ApplyMenuFont(wholeScreenBox);

    // Also turns the old language number "0" into "English".
    BuildLanguageList(state_.languages, state_.DataFolder);
    ApplyLanguage(LoadLanguage(state_.languages, state_.DataFolder));
}

// The strip height and twips per pixel for the window's DPI, the same on both axes.
void FrameWindow::ApplyDpi() {
    shape_.stripHeight = ClampToInt16(SystemMetricForDpi(SM_CYMENU, Dpi()));
    state_.TwipsPerPixelX = TwipsPerPixelForDpi(Dpi());
    state_.TwipsPerPixelY = TwipsPerPixelForDpi(Dpi());
}

void FrameWindow::OnDpiChanged(const RECT& suggested) {
    ApplyDpi();
    scalePanel.ApplyDpi(Dpi(), state_.TwipsPerPixelX, state_.TwipsPerPixelY);
    ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The suggested size may equal the old one, and then no WM_SIZE comes.
    LayOut();
}

void FrameWindow::ApplyLanguage(const LanguageApply& apply) {
    if (apply.applyOptions)
        optionsLabel.SetCaption(apply.optionsCaption);
    if (apply.applyScreen)
        wholeScreenBox.SetCaption(apply.screenCaption);
    // A longer or shorter caption moves the check box along the strip.
    if (::IsWindowVisible(hwnd()))
        LayOut();
}

void FrameWindow::ReadSettings() {
    const std::optional<std::string> bytes =
        ReadFileBytes(state_.DataFolder + L"\\Qorvic.cfg", 64 * 1024);
    const Settings settings =
        ParseSettings(bytes ? std::optional<std::string_view>(*bytes) : std::nullopt);
    if (settings.frameColour)
        SetBackColour(*settings.frameColour);
    state_.languages.CurrentLanguage = AnsiToWide(settings.language);
}

// Shutdown writes the two values; when the folder is gone or read-only the old
// file stays as it was and the program still ends.
void FrameWindow::WriteSettings() {
    WriteFileAtomically(state_.DataFolder + L"\\Qorvic.cfg",
                        FormatSettings(backColour_, WideToAnsi(state_.languages.CurrentLanguage)));
}

void FrameWindow::ApplyMenuFont(OwnerDrawnControl& control) const {
    control.SetFontName(state_.menuFont.name);
    control.SetFontSize(state_.menuFont.size);
    control.SetFontBold(state_.menuFont.bold);
    control.SetFontItalic(state_.menuFont.italic);
}

void FrameWindow::SetBackColour(std::int32_t colour) {
    const FrameColour resolved = ClassifyColour(colour);
    if (resolved.kind == FrameColour::Kind::Invalid)
        return;
    backColour_ = colour;
    const COLORREF ref = resolved.kind == FrameColour::Kind::System
                             ? ::GetSysColor(static_cast<int>(resolved.value))
                             : static_cast<COLORREF>(resolved.value);
    backBrush_.reset(::CreateSolidBrush(ref));
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// Lays out the strip and the see-through area for the current client size.
void FrameWindow::LayOut() {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const MainLayout layout = ComputeMainLayout(client.right, client.bottom, shape_.stripHeight,
                                                optionsLabel.Width(), optionsLabel.Height(), Dpi());
    const int top = static_cast<int>(layout.optionsLabelTop);
    optionsLabel.Move(layout.optionsLabelLeft, top, optionsLabel.Width(), optionsLabel.Height());
    if (layout.wholeScreenBox)
        wholeScreenBox.Move(layout.wholeScreenBox->left, layout.wholeScreenBox->top,
                            layout.wholeScreenBox->width, layout.wholeScreenBox->height);
    if (layout.seeThroughArea)
        shape_.seeThroughArea = *layout.seeThroughArea;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void FrameWindow::Shutdown() {
    if (unloading_)
        return;
    unloading_ = true;
    commands_.updateCheck.Stop();
    WriteSettings();
    ::EnumThreadWindows(::GetCurrentThreadId(), &UnloadWindow, reinterpret_cast<LPARAM>(hwnd()));
    ::ShowWindow(hwnd(), SW_HIDE);
    ::DestroyWindow(hwnd());
    if (options_.onEnd)
        options_.onEnd();
    else
        ::PostQuitMessage(0);
}

void FrameWindow::Tell(const std::wstring& text) {
    if (options_.showMessage)
        options_.showMessage(text);
    else
        ::MessageBoxW(hwnd(), text.c_str(), L"Qorvic", MB_OK | MB_ICONWARNING);
}

void FrameWindow::PaintStrip(HDC dc, int width) {
    // A light blue-grey band, lighter at the top, with a fine line at its foot.
    const int height = shape_.stripHeight;
    if (height <= 0 || width <= 0)
        return;
    if (HighContrastOn()) { // the strip in the system's colours; the frame keeps its own
        RECT strip{0, 0, width, height};
        ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_BTNFACE));
        RECT line{0, height - 1, width, height};
        ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_WINDOWTEXT));
        return;
    }
    TRIVERTEX vertices[2] = {
        {0, 0, 0xF2 << 8, 0xF5 << 8, 0xFA << 8, 0},
        {width, height, 0xD3 << 8, 0xDC << 8, 0xE8 << 8, 0},
    };
    GRADIENT_RECT rect{0, 1};
    // gdi32's own entry: msimg32's GradientFill only forwards to it, and
    // importing msimg32 costs every start a DLL load.
    ::GdiGradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
    Pen line(::CreatePen(PS_SOLID, 1, RGB(0xB4, 0xC2, 0xD4)));
    SelectedObject selected(dc, line.get());
    ::MoveToEx(dc, 0, height - 1, nullptr);
    ::LineTo(dc, width, height - 1);
}

void FrameWindow::PaintClient(HDC dc) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    if (backBrush_)
        ::FillRect(dc, &client, backBrush_.get());
    else {
        Brush designed(::CreateSolidBrush(static_cast<COLORREF>(kDesignedFrameColour)));
        ::FillRect(dc, &client, designed.get());
    }
    PaintStrip(dc, client.right);

    const Box& area = shape_.seeThroughArea;
    RECT see{area.left, area.top, area.left + area.width, area.top + area.height};
    Brush key(::CreateSolidBrush(kKeyColourRef));
    ::FillRect(dc, &see, key.get());
    if (area.width > 1 && area.height > 1) {
        const Outline outline = SeeThroughOutline(area.width, area.height, Dpi());
        RECT frame{area.left + outline.x1, area.top + outline.y1, area.left + outline.x2 + 1,
                   area.top + outline.y2 + 1};
        Brush black(::CreateSolidBrush(RGB(0, 0, 0)));
        ::FrameRect(dc, &frame, black.get());
    }
}

LRESULT FrameWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        LayOut();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kUpdateCheckTimerId) {
            ::KillTimer(hwnd(), kUpdateCheckTimerId);
            StartUpdateCheck();
            return 0;
        }
        if (wParam == kScalePanelTimerId) {
            MakeScalePanel();
            return 0;
        }
        if (wParam != MenuWindows::kTimerId)
            return Default(msg, wParam, lParam);
        menus_.OnTimer();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: // F10 comes as a system key
        return OnKeyDown(wParam) ? 0 : Default(msg, wParam, lParam);
    case WM_SYSKEYUP:
        return wParam == VK_F10 ? 0 : Default(msg, wParam, lParam);
    case WM_ACTIVATE:
        // A capture hides the frame and a dialog takes the activation: the
        // keyboard user's control has the focus again afterwards.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = ::GetFocus();
            focusBeforeDeactivation_ = ::IsChild(hwnd(), focus) ? focus : nullptr;
        } else if (focusBeforeDeactivation_ && ::IsWindow(focusBeforeDeactivation_) &&
                   ::IsWindowVisible(focusBeforeDeactivation_) && !HIWORD(wParam)) {
            ::SetFocus(focusBeforeDeactivation_);
            return 0;
        }
        return Default(msg, wParam, lParam);
    case WM_CONTEXTMENU: // from the keyboard (the context-menu key) when lParam is -1
        if (lParam == -1 && !menus_.AnyOpen())
            menus_.OpenOptionsMenuFromKeyboard();
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // High contrast or the system's colours changed: a frame colour taken
        // from the system follows, and every part draws anew in its colours.
        SetBackColour(backColour_);
        ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return Default(msg, wParam, lParam);
    case WM_CLOSE:
        Shutdown();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // nothing to ask: the settings are kept below
    case WM_ENDSESSION:
        // Sign-out or shutdown ends the process without WM_CLOSE: keep what
        // this run chose, as closing the frame would.
        if (wParam)
            WriteSettings();
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace qorvic
