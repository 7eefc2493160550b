#include "controls/owner_drawn_win.h"

#include "controls/control_font_win.h"
#include "controls/high_contrast_win.h"

#include <windowsx.h>

#include <vector>

namespace qorvic {

namespace {

bool Intersects(const RECT& a, const RECT& b) {
    RECT unused;
    return ::IntersectRect(&unused, &a, &b) != FALSE;
}

// The rectangle of `child` in its parent's client coordinates.
RECT RectInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

OwnerDrawnControl::~OwnerDrawnControl() {
    *alive_ = false;
}

bool OwnerDrawnControl::AccDoDefaultAction(long child) {
    if (child != 0 || AccDefaultAction(0).empty() || !Enabled())
        return false;
    OnClicked();
    return true;
}

bool OwnerDrawnControl::CreateControl(HWND parent, int x, int y, int width, int height, int index,
                                      bool visible) {
    if (hwnd() || !parent)
        return false;
    index_ = index;
    box_ = {x, y, width < 0 ? 0 : width, height < 0 ? 0 : height};
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0) |
                        (design_.focusable ? WS_TABSTOP : 0);
    if (!CreateWin({.className = design_.className,
                    .title = caption_.c_str(),
                    .style = style,
                    .x = box_.left,
                    .y = box_.top,
                    .width = box_.width,
                    .height = box_.height,
                    .parent = parent,
                    .id = static_cast<UINT_PTR>(index) + 1}))
        return false;
    FontChanged();
    // With the system's keyboard cues on, focus shows from the start.
    keyboardCues_ = KeyboardCuesOn();
    return true;
}

void OwnerDrawnControl::SetCaption(const std::wstring& text) {
    caption_ = text;
    if (hwnd()) {
        ::SetWindowTextW(hwnd(), caption_.c_str()); // for window searches
        NotifyAccessible(EVENT_OBJECT_NAMECHANGE, hwnd());
    }
    OnContentChanged();
    Repaint();
}

bool OwnerDrawnControl::SetFontName(const std::wstring& name) {
    if (!controls::IsAcceptableFaceName(name))
        return false;
    font_.name = name;
    FontChanged();
    return true;
}

bool OwnerDrawnControl::SetFontSize(float points) {
    if (!controls::IsAcceptableFontSize(points))
        return false;
    font_.size = points;
    FontChanged();
    return true;
}

void OwnerDrawnControl::SetFontBold(bool bold) {
    font_.bold = bold;
    FontChanged();
}

void OwnerDrawnControl::SetFontItalic(bool italic) {
    font_.italic = italic;
    FontChanged();
}

void OwnerDrawnControl::SetForeColor(COLORREF colour) {
    foreColour_ = colour;
    foreColourSet_ = true;
    Repaint();
}

COLORREF OwnerDrawnControl::TextColour() const {
    const bool contrast = HighContrastOn();
    if (!Enabled())
        return contrast ? ::GetSysColor(COLOR_GRAYTEXT) : controls::kDisabledText;
    return contrast && !foreColourSet_ ? ::GetSysColor(COLOR_BTNTEXT) : foreColour_;
}

bool OwnerDrawnControl::Move(int x, int y, int width, int height) {
    if (width < 0 || height < 0)
        return false;
    if (!hwnd()) {
        box_ = {x, y, width, height};
        return true;
    }
    const RECT before = BoxInParent();
    // No copied bits: what lies behind differs at the new place.
    if (!::SetWindowPos(hwnd(), nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS))
        return false;
    InvalidateSiblingsAbove(before);
    Repaint();
    return true;
}

void OwnerDrawnControl::Resize(int width, int height) {
    if (width == box_.width && height == box_.height)
        return;
    if (!hwnd()) {
        box_.width = width;
        box_.height = height;
        return;
    }
    const RECT before = BoxInParent();
    ::SetWindowPos(hwnd(), nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    InvalidateSiblingsAbove(before);
}

void OwnerDrawnControl::SetVisible(bool visible) {
    if (!hwnd())
        return;
    if (!visible) {
        CancelPress();
        hover_.Leave();
    }
    ::ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE);
    InvalidateSiblingsAbove(BoxInParent());
}

bool OwnerDrawnControl::Visible() const {
    return hwnd() && (::GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void OwnerDrawnControl::BringToFront() {
    if (!hwnd())
        return;
    ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Siblings that were above now lie behind and show through.
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void OwnerDrawnControl::SetEnabled(bool enabled) {
    if (hwnd())
        ::EnableWindow(hwnd(), enabled ? TRUE : FALSE);
}

bool OwnerDrawnControl::Enabled() const {
    return hwnd() && ::IsWindowEnabled(hwnd());
}

HFONT OwnerDrawnControl::FontHandle() {
    if (!fontHandle_) {
        // Built from a checked face name and size, so it cannot be refused for them.
        fontHandle_ =
            CreateFontForPoints(font_.name.c_str(), font_.size, font_.bold, font_.italic, Dpi());
    }
    return fontHandle_ ? fontHandle_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

SIZE OwnerDrawnControl::MeasureText(const std::wstring& text, UINT format, int width) {
    WindowDc dc(hwnd());
    if (!dc)
        return {0, 0};
    SelectedObject font(dc.get(), FontHandle());
    if (text.empty()) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc.get(), &metrics);
        return {0, metrics.tmHeight};
    }
    RECT r{0, 0, width, 0};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                format | DT_CALCRECT | DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
}

void OwnerDrawnControl::Repaint() {
    if (!hwnd())
        return;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    if (design_.transparent)
        InvalidateSiblingsAbove(BoxInParent());
}

void OwnerDrawnControl::SetTransparentBackground(bool transparent) {
    design_.transparent = transparent;
    Repaint();
}

void OwnerDrawnControl::FontChanged() {
    fontHandle_.reset(); // rebuilt on next use, at the current DPI
    if (!hwnd())
        return;
    OnContentChanged();
    Repaint();
}

RECT OwnerDrawnControl::BoxInParent() const {
    return {box_.left, box_.top, box_.left + box_.width, box_.top + box_.height};
}

void OwnerDrawnControl::InvalidateSiblingsAbove(const RECT& inParent) {
    // A transparent sibling above shows this control's area through its own.
    for (HWND s = ::GetWindow(hwnd(), GW_HWNDPREV); s; s = ::GetWindow(s, GW_HWNDPREV)) {
        if (!::IsWindowVisible(s))
            continue;
        RECT r = RectInParent(s);
        RECT overlap;
        if (::IntersectRect(&overlap, &r, &inParent)) {
            ::OffsetRect(&overlap, -r.left, -r.top);
            ::InvalidateRect(s, &overlap, FALSE);
        }
    }
}

void OwnerDrawnControl::PaintWhatLiesBehind(HDC dc, const RECT& client) {
    HWND parent = ::GetParent(hwnd());
    // The parent's class background first: a parent that does not answer
    // WM_PRINTCLIENT still gives the right colour.
    auto background = reinterpret_cast<HBRUSH>(::GetClassLongPtrW(parent, GCLP_HBRBACKGROUND));
    ::FillRect(dc, &client, background ? background : ::GetSysColorBrush(COLOR_BTNFACE));

    const RECT self = BoxInParent();
    POINT oldOrigin;
    ::SetViewportOrgEx(dc, -self.left, -self.top, &oldOrigin);
    ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                   PRF_CLIENT | PRF_ERASEBKGND);

    // Then the siblings below that overlap, lowest first, each clipped to itself.
    std::vector<HWND> below;
    for (HWND s = ::GetWindow(hwnd(), GW_HWNDNEXT); s; s = ::GetWindow(s, GW_HWNDNEXT)) {
        if (::IsWindowVisible(s) && Intersects(RectInParent(s), self))
            below.push_back(s);
    }
    for (auto it = below.rbegin(); it != below.rend(); ++it) {
        const RECT r = RectInParent(*it);
        const int saved = ::SaveDC(dc);
        ::SetViewportOrgEx(dc, r.left - self.left, r.top - self.top, nullptr);
        ::IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        ::SendMessageW(*it, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                       PRF_CLIENT | PRF_ERASEBKGND);
        ::RestoreDC(dc, saved);
    }
    ::SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}

void OwnerDrawnControl::PaintClient(HDC target) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    // Everything is drawn off screen and copied in one go, so nothing flickers.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap buffer(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(::CreateCompatibleDC(target));
    if (!buffer || !memory)
        return;
    SelectedObject selected(memory.get(), buffer.get());
    if (design_.transparent)
        PaintWhatLiesBehind(memory.get(), client);
    SelectedObject font(memory.get(), FontHandle());
    ::SetBkMode(memory.get(), TRANSPARENT);
    Paint(memory.get(), client);
    ::BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

LRESULT OwnerDrawnControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE)) {
            box_.left = pos->x;
            box_.top = pos->y;
        }
        if (!(pos->flags & SWP_NOSIZE)) {
            box_.width = pos->cx;
            box_.height = pos->cy;
        }
        if (pos->flags & SWP_HIDEWINDOW) {
            CancelPress();
            hover_.Leave();
        }
        return Default(msg, wParam, lParam);
    }
    case WM_MOUSEMOVE:
        return OnMouseMove(lParam);
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        hover_.Leave();
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        return OnButtonDown(controls::kLeftButton, lParam);
    case WM_RBUTTONDOWN:
        return OnButtonDown(controls::kRightButton, lParam);
    case WM_MBUTTONDOWN:
        return OnButtonDown(controls::kMiddleButton, lParam);
    case WM_LBUTTONUP:
        return OnButtonUp(controls::kLeftButton, wParam, lParam);
    case WM_RBUTTONUP:
        return OnButtonUp(controls::kRightButton, wParam, lParam);
    case WM_MBUTTONUP:
        return OnButtonUp(controls::kMiddleButton, wParam, lParam);
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd() && clicks_.MouseHeld()) {
            clicks_.Cancel();
            ::InvalidateRect(hwnd(), nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        return OnKey(true, wParam, lParam);
    case WM_KEYUP:
        return OnKey(false, wParam, lParam);
    case WM_SYSKEYDOWN:
        if (wParam == VK_F10)
            return ForwardKey(msg, wParam, lParam);
        return Default(msg, wParam, lParam);
    case WM_GETDLGCODE: {
        if (!design_.focusable)
            return Default(msg, wParam, lParam);
        LRESULT code = DLGC_BUTTON | (design_.clickOnEnter ? DLGC_UNDEFPUSHBUTTON : 0);
        const auto* m = reinterpret_cast<const MSG*>(lParam);
        if (design_.clickOnEnter && m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_SETFOCUS:
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        NotifyAccessible(EVENT_OBJECT_FOCUS, hwnd());
        return 0;
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = accessible_.Answer(hwnd(), wParam, lParam))
            return *answer;
        return Default(msg, wParam, lParam);
    case WM_KILLFOCUS:
        CancelPress();
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_UPDATEUISTATE:
        if (HIWORD(wParam) & UISF_HIDEFOCUS) {
            if (LOWORD(wParam) == UIS_CLEAR)
                keyboardCues_ = true;
            else if (LOWORD(wParam) == UIS_SET)
                keyboardCues_ = false;
            ::InvalidateRect(hwnd(), nullptr, FALSE);
        }
        return Default(msg, wParam, lParam);
    case WM_ENABLE:
        if (!wParam)
            CancelPress();
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_DPICHANGED_AFTERPARENT:
        FontChanged();
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace qorvic
