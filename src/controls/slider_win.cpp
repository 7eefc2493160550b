#include "controls/slider_win.h"

#include "controls/high_contrast_win.h"

#include "base/dpi.h"
#include "base/numeric.h"
#include "controls/slider_artwork.h"

#include <windowsx.h>

#include <algorithm>

namespace qorvic {

// A 24-bit bitmap selected into its own memory DC, as each of the slider's
// pictures needs one to copy from. Members go in reverse: the selection is
// undone before the bitmap and then the DC are deleted.
struct Slider::SliderBitmap {
    MemoryDc dc;
    Bitmap bitmap;
    std::unique_ptr<SelectedObject> selection;
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;

    static std::unique_ptr<SliderBitmap> Make(int width, int height) {
        auto p = std::make_unique<SliderBitmap>();
        p->dc.reset(::CreateCompatibleDC(nullptr));
        if (!p->dc)
            return nullptr;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down, so row 0 is the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        p->bitmap.reset(::CreateDIBSection(p->dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!p->bitmap || !bits)
            return nullptr;
        p->selection = std::make_unique<SelectedObject>(p->dc.get(), p->bitmap.get());
        if (!p->selection->ok())
            return nullptr;
        p->bits = static_cast<std::uint8_t*>(bits);
        p->width = width;
        p->height = height;
        return p;
    }

    static std::unique_ptr<SliderBitmap> FromArt(const SliderPicture& art) {
        auto p = Make(art.width, art.height);
        if (!p)
            return nullptr;
        ::GdiFlush();
        const int stride = (art.width * 3 + 3) & ~3;
        for (int y = 0; y < art.height; ++y)
            for (int x = 0; x < art.width; ++x) {
                const std::uint32_t c = art.At(x, y); // 0x00BBGGRR
                std::uint8_t* px = p->bits + y * stride + x * 3;
                px[0] = static_cast<std::uint8_t>(c >> 16);
                px[1] = static_cast<std::uint8_t>(c >> 8);
                px[2] = static_cast<std::uint8_t>(c);
            }
        return p;
    }
};

Slider::Slider() : Window(Painting::Covering) {}
Slider::~Slider() = default;

// The five pictures drawn at the size they are shown at for Dpi(), not
// stretched from the 96-DPI ones, so their lines stay sharp.
bool Slider::MakePictures() {
    metrics_ = SliderMetricsForDpi(Dpi());
    leftCap_ = SliderBitmap::FromArt(SliderLeftCapArt(Dpi()));
    rightCap_ = SliderBitmap::FromArt(SliderRightCapArt(Dpi()));
    knob_ = SliderBitmap::FromArt(SliderHandleArt(Dpi()));
    fullFill_ = SliderBitmap::FromArt(SliderFillArt(kSliderDefaultForeColor, Dpi()));
    emptyFill_ = SliderBitmap::FromArt(SliderFillArt(kSliderDefaultBackColor, Dpi()));
    return leftCap_ && rightCap_ && knob_ && fullFill_ && emptyFill_;
}

bool Slider::Create(HWND parent, int x, int y, int width, int height,
                    const StoredProperties& stored) {
    Window::SetDpi(DpiOf(parent));
    if (!MakePictures())
        return false;
    model_.Assigned = [this](SliderProperty what) { OnAssigned(what); };

    const SliderSize size = SliderLimitSize({width, height}, metrics_);
    if (!CreateWin({.className = L"QorvicSlider",
                    .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                    .x = x,
                    .y = y,
                    .width = size.width,
                    .height = size.height,
                    .parent = parent,
                    .classStyle = 0}))
        return false;
    keyboardCues_ = KeyboardCuesOn(); // focus shows from the start when the system says so
    Resize();
    Initialise();
    model_.ReadProperties(stored);
    DrawSlider();
    return true;
}

void Slider::SetDpi(int dpi) {
    dpi = UsableDpi(dpi);
    if (dpi == Dpi() && surface_)
        return;
    const int previous = Dpi();
    Window::SetDpi(dpi);
    if (!MakePictures()) {
        // Keep drawing at the old size rather than with missing pictures.
        Window::SetDpi(previous);
        MakePictures();
        return;
    }
    // The fresh fill columns carry the designed colours: give them the current ones.
    PaintEmptyGroove();
    PaintFullGroove();
    surface_.reset(); // another height: Resize makes a new one
    const SliderSize size = SliderLimitSize({Width(), Height()}, metrics_);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, size.width, size.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Resize();
}

void Slider::Initialise() {
    model_.Initialise();
    DrawSlider();
}

void Slider::OnAssigned(SliderProperty what) {
    if (what == SliderProperty::BackColor)
        PaintEmptyGroove();
    else if (what == SliderProperty::ForeColor)
        PaintFullGroove();
    DrawSlider();
    NotifyAccessible(EVENT_OBJECT_VALUECHANGE, hwnd());
    if (Change)
        Change();
}

// The window text: the host names the slider.
std::wstring Slider::AccName(long) const {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd(), text, 256);
    return text;
}

std::optional<std::wstring> Slider::AccValue(long) const {
    return valueText ? valueText(model_.Value()) : std::to_wstring(model_.Value());
}

void Slider::PaintEmptyGroove() {
    for (int y = metrics_.grooveFirstRow; y <= metrics_.grooveLastRow; ++y)
        ::SetPixelV(emptyFill_->dc.get(), 0, y, static_cast<COLORREF>(model_.BackColor()));
}

void Slider::PaintFullGroove() {
    for (int y = metrics_.grooveFirstRow; y <= metrics_.grooveLastRow; ++y)
        ::SetPixelV(fullFill_->dc.get(), 0, y, static_cast<COLORREF>(model_.ForeColor()));
}

void Slider::DrawSlider() {
    if (!surface_)
        return;
    const int w = surface_->width;
    const auto x = SliderHandleLeft(w, model_.Value(), model_.Min(), model_.Max(), metrics_);
    if (!x)
        return;
    handleLeft_ = *x;
    HDC dc = surface_->dc.get();
    const int h = leftCap_->height;
    const int srcW = emptyFill_->width, srcH = emptyFill_->height;
    ::SetStretchBltMode(dc, COLORONCOLOR);
    // Each copy overwrites what lies beneath: the two groove parts, the caps, the handle.
    if (*x > 0)
        ::StretchBlt(dc, 0, 0, *x, h, fullFill_->dc.get(), 0, 0, srcW, srcH, SRCCOPY);
    const int emptyWidth = static_cast<int>(RoundHalfEven(w - *x));
    if (emptyWidth > 0)
        ::StretchBlt(dc, *x, 0, emptyWidth, h, emptyFill_->dc.get(), 0, 0, srcW, srcH, SRCCOPY);
    ::BitBlt(dc, 0, 0, leftCap_->width, h, leftCap_->dc.get(), 0, 0, SRCCOPY);
    ::BitBlt(dc, w - rightCap_->width, 0, rightCap_->width, h, rightCap_->dc.get(), 0, 0, SRCCOPY);
    ::BitBlt(dc, *x, metrics_.handleTop, knob_->width, knob_->height, knob_->dc.get(), 0, 0,
             SRCCOPY);
    if (hwnd())
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void Slider::Resize() {
    RECT rc{};
    ::GetClientRect(hwnd(), &rc);
    const int w = rc.right - rc.left;
    if (w <= 0)
        return;
    if (!surface_ || surface_->width != w || surface_->height != metrics_.height) {
        auto surface = SliderBitmap::Make(w, metrics_.height);
        if (!surface)
            return;
        ::PatBlt(surface->dc.get(), 0, 0, w, metrics_.height, WHITENESS);
        surface_ = std::move(surface);
    }
    DrawSlider();
}

void Slider::Move(int x, int y, int width, int height) {
    ::SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Slider::Width() const {
    RECT rc{};
    ::GetWindowRect(hwnd(), &rc);
    return rc.right - rc.left;
}

int Slider::Height() const {
    RECT rc{};
    ::GetWindowRect(hwnd(), &rc);
    return rc.bottom - rc.top;
}

void Slider::PaintTo(HDC dc, int x, int y) const {
    if (surface_)
        ::BitBlt(dc, x, y, surface_->width, surface_->height, surface_->dc.get(), 0, 0, SRCCOPY);
}

void Slider::PaintClient(HDC dc) {
    PaintTo(dc, 0, 0);
    if (::GetFocus() == hwnd() && keyboardCues_ && surface_) {
        RECT focus{0, 0, surface_->width, surface_->height};
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::DrawFocusRect(dc, &focus);
    }
}

bool Slider::OnKey(WPARAM key) {
    constexpr int kPage = 5;
    int value = model_.Value();
    switch (key) {
    case VK_LEFT:
    case VK_DOWN:
        --value;
        break;
    case VK_RIGHT:
    case VK_UP:
        ++value;
        break;
    case VK_NEXT:
        value -= kPage;
        break;
    case VK_PRIOR:
        value += kPage;
        break;
    case VK_HOME:
        value = model_.Min();
        break;
    case VK_END:
        value = model_.Max();
        break;
    default:
        return false;
    }
    if (!keyboardCues_) {
        keyboardCues_ = true;
        ::InvalidateRect(hwnd(), nullptr, FALSE);
    }
    const int clamped = std::clamp<int>(value, model_.Min(), model_.Max());
    if (clamped != model_.Value())
        model_.SetValue(static_cast<std::int16_t>(clamped)); // repaints and raises Change
    return true;
}

void Slider::OnMouseMove(WPARAM buttons, int x) {
    const bool left = (buttons & MK_LBUTTON) != 0;
    const bool other = (buttons & (MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) != 0;
    if (!surface_)
        return;
    model_.MouseMove(left, other, x, surface_->width, metrics_);
}

LRESULT Slider::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_WINDOWPOSCHANGING: {
        // Whoever sizes the control, it keeps room for its caps and handle and the caps' height.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE)) {
            const SliderSize size = SliderLimitSize({pos->cx, pos->cy}, metrics_);
            pos->cx = size.width;
            pos->cy = size.height;
        }
        return 0;
    }
    case WM_SIZE:
        Resize();
        return 0;
    case WM_LBUTTONDOWN:
        // Pressing moves nothing; the capture lets a drag go on outside the control.
        pressed_ = true;
        ::SetFocus(hwnd());
        ::SetCapture(hwnd());
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, GET_X_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed_;
        pressed_ = false;
        if (::GetCapture() == hwnd())
            ::ReleaseCapture();
        RECT rc{};
        ::GetClientRect(hwnd(), &rc);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (wasPressed && ::PtInRect(&rc, at) && Click)
            Click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    case WM_KEYDOWN:
        // Keys the slider does not use go to its host (Tab, Esc).
        if (OnKey(wParam))
            return 0;
        return ::SendMessageW(::GetParent(hwnd()), msg, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = accessible_.Answer(hwnd(), wParam, lParam))
            return *answer;
        return Default(msg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_UPDATEUISTATE:
        if ((HIWORD(wParam) & UISF_HIDEFOCUS) && LOWORD(wParam) != UIS_INITIALIZE) {
            keyboardCues_ = LOWORD(wParam) == UIS_CLEAR;
            ::InvalidateRect(hwnd(), nullptr, FALSE);
        }
        return Default(msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace qorvic
