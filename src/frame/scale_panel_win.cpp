#include "frame/scale_panel_win.h"

#include "controls/high_contrast_win.h"

#include "base/dpi.h"
#include "base/numeric.h"
#include "base/waits.h"
#include "controls/control_font_win.h"

#include <chrono>

namespace qorvic {

namespace {

constexpr COLORREF kPanelGrey = RGB(192, 192, 192);
constexpr wchar_t kPanelFont[] = L"Arial";
constexpr float kPanelFontPoints = 9.75f;

int Pixel(float value) {
    return static_cast<int>(RoundHalfEven(value));
}

SIZE OuterSize(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

SIZE ClientSize(HWND window) {
    RECT rc{};
    ::GetClientRect(window, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

} // namespace

// Drawn off screen and copied at once, so the percentage does not flicker
// while the knob is dragged.
ScalePanel::ScalePanel() : Window(Painting::OffScreen) {}
ScalePanel::~ScalePanel() = default;

bool ScalePanel::Create(HWND frame, std::int16_t twipsPerPixelX, std::int16_t twipsPerPixelY) {
    frame_ = frame;
    twipsPerPixelX_ = twipsPerPixelX > 0 ? twipsPerPixelX : 15;
    twipsPerPixelY_ = twipsPerPixelY > 0 ? twipsPerPixelY : 15;
    panelBrush_.reset(::CreateSolidBrush(kPanelGrey));
    SetDpi(DpiOf(frame));
    geometry_ = ScalePanelGeometryForDpi(Dpi());
    placement_ =
        PanelRect{0, 0, static_cast<float>(geometry_.width), static_cast<float>(geometry_.height)};
    MakeResizeFont();
    if (!CreateWin({.className = L"QorvicScalePanel",
                    .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                    .width = geometry_.width,
                    .height = geometry_.height,
                    .parent = frame,
                    .classStyle = 0}))
        return false;
    DrawPanelBevel();

    const auto place = [](auto& control, const Box& p, HWND parent) {
        return control.Create(parent, p.left, p.top, p.width, p.height);
    };
    if (!place(equalsLabel, geometry_.equalsLabel, hwnd()) ||
        !place(closeButton, geometry_.closeButton, hwnd()))
        return false;
    equalsLabel.SetFontName(kPanelFont);
    equalsLabel.SetFontSize(kPanelFontPoints);
    equalsLabel.SetCaption(L"100% equals");
    closeButton.SetCaption(L"Close");
    closeButton.onClick = [this] { OnCloseClicked(); };

    if (!slider.Create(hwnd(), geometry_.slider.left, geometry_.slider.top, geometry_.slider.width,
                       geometry_.slider.height))
        return false;
    slider.Change = [this] { OnSliderMoved(); };
    slider.valueText = [](std::int16_t step) { return std::to_wstring(step * 10) + L"%"; };
    slider.SetMax(20);
    slider.SetMin(1);
    slider.SetValue(10);
    SetPercentLabel(resizeText_, PercentLabelLeft(scaleStep_, Dpi()));
    return true;
}

void ScalePanel::MakeResizeFont() {
    // Rounded half to even like the panel's other lengths, so not FontHeightForPoints.
    resizeFont_ =
        CreateFontFromSpec({.face = kPanelFont,
                            .height = -Pixel(kPanelFontPoints * static_cast<float>(Dpi()) / 72.0f),
                            .quality = DEFAULT_QUALITY,
                            .pitchAndFamily = DEFAULT_PITCH | FF_SWISS});
}

void ScalePanel::PlaceChildren() {
    const auto move = [](HWND child, const Box& p) {
        ::SetWindowPos(child, nullptr, p.left, p.top, p.width, p.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    move(equalsLabel.hwnd(), geometry_.equalsLabel);
    move(closeButton.hwnd(), geometry_.closeButton);
    slider.Move(geometry_.slider.left, geometry_.slider.top, geometry_.slider.width,
                geometry_.slider.height);
}

void ScalePanel::ApplyDpi(int dpi, std::int16_t twipsPerPixelX, std::int16_t twipsPerPixelY) {
    twipsPerPixelX_ = twipsPerPixelX > 0 ? twipsPerPixelX : twipsPerPixelX_;
    twipsPerPixelY_ = twipsPerPixelY > 0 ? twipsPerPixelY : twipsPerPixelY_;
    dpi = UsableDpi(dpi);
    if (!hwnd() || dpi == Dpi())
        return;
    const int previous = Dpi();
    SetDpi(dpi);
    geometry_ = ScalePanelGeometryForDpi(Dpi());
    MakeResizeFont();
    slider.SetDpi(Dpi());
    PlaceChildren();
    MoveTo(RescaledScalePanel(placement_, previous, Dpi()));
    DrawPanelBevel();
    SetPercentLabel(resizeText_, PercentLabelLeft(scaleStep_, Dpi()));
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void ScalePanel::OnSliderMoved() {
    scaleStep_ = slider.Value();
    SetPercentLabel(PercentLabelText(scaleStep_), PercentLabelLeft(scaleStep_, Dpi()));
    if (onScaleStep)
        onScaleStep(scaleStep_);
}

void ScalePanel::OnCloseClicked() {
    // The focus must not stay on a hidden control: it goes back to the frame.
    const bool focusInside = ::IsChild(hwnd(), ::GetFocus()) != FALSE;
    ::ShowWindow(hwnd(), SW_HIDE);
    if (focusInside)
        ::SetFocus(frame_);
}

void ScalePanel::ShowScalePanel(const std::wstring& txtEquals) {
    const SIZE outer = OuterSize(frame_);
    const int outerWidthTwips = outer.cx * twipsPerPixelX_;
    const int outerHeightTwips = outer.cy * twipsPerPixelY_;
    if (!ScalePanelNeedsLargerWindow(outerWidthTwips, outerHeightTwips)) {
        const SIZE client = ClientSize(frame_);
        MoveTo(CentredScalePanel(client.cx, client.cy, placement_));
    } else {
        // Width first, then height, as two separate changes: each lays the frame out again.
        const int width = Pixel(static_cast<float>(kScalePanelWindowWidthTwips) / twipsPerPixelX_);
        const int height =
            Pixel(static_cast<float>(kScalePanelWindowHeightTwips) / twipsPerPixelY_);
        constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        ::SetWindowPos(frame_, nullptr, 0, 0, width, OuterSize(frame_).cy, kSizeOnly);
        ::SetWindowPos(frame_, nullptr, 0, 0, OuterSize(frame_).cx, height, kSizeOnly);
        const SIZE client = ClientSize(frame_);
        MoveTo(WidenedScalePanel(client.cx, client.cy, placement_.height, Dpi()));
    }
    DrawPanelBevel();
    equalsLabel.SetCaption(txtEquals);
    // The groove in the system's colours while high contrast is on.
    if (const bool contrast = HighContrastOn(); contrast != contrastColours_) {
        contrastColours_ = contrast;
        slider.SetForeColor(contrast ? ::GetSysColor(COLOR_HIGHLIGHT) : kSliderDefaultForeColor);
        slider.SetBackColor(contrast ? ::GetSysColor(COLOR_WINDOW) : kSliderDefaultBackColor);
    }
    ::SetWindowTextW(slider.hwnd(), txtEquals.c_str()); // the slider's name for screen readers
    // On purpose: the panel opens after a short pause in which nothing else runs.
    BlockingWait(std::chrono::milliseconds(100));
    SetPercentLabel(resizeText_, PercentLabelLeft(scaleStep_, Dpi()));
    // Above the see-through area and everything else on the frame.
    ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The slider takes the keys from the start.
    if (::GetActiveWindow() == frame_)
        ::SetFocus(slider.hwnd());
}

void ScalePanel::MoveTo(const PanelRect& rect) {
    placement_ = rect;
    ::MoveWindow(hwnd(), Pixel(rect.left), Pixel(rect.top), Pixel(rect.width), Pixel(rect.height),
                 TRUE);
}

void ScalePanel::DrawPanelBevel() {
    const SIZE size = ClientSize(hwnd());
    bevel_ = ScalePanelBevel(size.cx, size.cy);
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

RECT ScalePanel::PercentLabelBox() const {
    // The label sizes itself to its text; measured in the panel's font.
    WindowDc dc(hwnd());
    SelectedObject font(dc.get(), resizeFont_.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), resizeText_.c_str(), static_cast<int>(resizeText_.size()),
                            &extent);
    const int left = Pixel(resizeLeft_);
    return {left, geometry_.percentLabel.top, left + extent.cx,
            geometry_.percentLabel.top + extent.cy};
}

void ScalePanel::SetPercentLabel(const std::wstring& text, float left) {
    const RECT before = PercentLabelBox();
    resizeText_ = text;
    resizeLeft_ = left;
    const RECT after = PercentLabelBox();
    ::InvalidateRect(hwnd(), &before, FALSE);
    ::InvalidateRect(hwnd(), &after, FALSE);
}

void ScalePanel::PaintClient(HDC dc) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const bool contrast = HighContrastOn();
    ::FillRect(dc, &client, contrast ? ::GetSysColorBrush(COLOR_BTNFACE) : panelBrush_.get());
    {
        SelectedObject font(dc, resizeFont_.get());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, contrast ? ::GetSysColor(COLOR_BTNTEXT) : RGB(0, 0, 0));
        ::TextOutW(dc, Pixel(resizeLeft_), geometry_.percentLabel.top, resizeText_.c_str(),
                   static_cast<int>(resizeText_.size()));
    }
    // L1 to L8 in order; each line leaves out its end point, as line controls do.
    for (const BevelLine& line : bevel_) {
        Pen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(line.systemColour)));
        SelectedObject selected(dc, pen.get());
        ::MoveToEx(dc, line.x1, line.y1, nullptr);
        ::LineTo(dc, line.x2, line.y2);
    }
}

LRESULT ScalePanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN: // what the slider and the button leave
        if (wParam == VK_TAB) {
            const HWND next = ::GetFocus() == slider.hwnd() ? closeButton.hwnd() : slider.hwnd();
            ::SetFocus(next);
            ::SendMessageW(next, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            OnCloseClicked();
            return 0;
        }
        return ::SendMessageW(frame_, msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace qorvic
