// The output-scaling panel on the main window. A grey panel with a
// raised border, the slider for the scale, the percentage riding above the
// knob, an explanatory label and a Close button. It is hidden until the
// "Scaling" command opens it and keeps the chosen scale while hidden.
#pragma once

#include "base/handles_win.h"
#include "base/window_win.h"
#include "controls/slider_win.h"
#include "controls/button_win.h"
#include "controls/label_win.h"
#include "frame/scale_panel_layout.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace qorvic {

class ScalePanel : public Window {
public:
    ScalePanel();
    ~ScalePanel() override;

    // Runs with the new scale (1 to 20 tenths) after every change of the slider;
    // the main window keeps its ScaleStep with it.
    std::function<void(std::int16_t)> onScaleStep;

    // Creates the hidden panel on `frame` at 300 x 105 pixels with its children,
    // sets the slider to 1..20 at 10 and places the percentage above the knob.
    // The twips per pixel convert the window sizes the opening works in.
    bool Create(HWND frame, std::int16_t twipsPerPixelX = 15, std::int16_t twipsPerPixelY = 15);

    // Opens the panel: enlarges a small main window to 4800 x 4000 twips and
    // widens the panel across it, or centres the panel on a large one; then the
    // border, the explanatory text, a 0.1 s pause and the percentage's place.
    void ShowScalePanel(const std::wstring& txtEquals);

    // The frame moved to a screen of another scale: the twips per pixel the
    // window sizes use, and the panel, its children, font and slider redrawn
    // and placed for `dpi`. The panel keeps its place relative to the frame.
    void ApplyDpi(int dpi, std::int16_t twipsPerPixelX, std::int16_t twipsPerPixelY);
    const ScalePanelGeometry& Geometry() const { return geometry_; }

    void OnSliderMoved();
    void OnCloseClicked();

    std::int16_t ScaleStep() const { return scaleStep_; }
    // Moves the slider to `step` as the user would, with the same notification.
    void SetScaleStep(std::int16_t step) {
        slider.SetValue(step);
        OnSliderMoved();
    }
    bool Visible() const { return hwnd() && ::IsWindowVisible(hwnd()); }
    // Where the panel was last placed, in the frame's client pixels, unrounded.
    const PanelRect& Placement() const { return placement_; }

    // The percent label, drawn by the panel itself.
    const std::wstring& PercentLabelCaption() const { return resizeText_; }
    float PercentLabelLeftEdge() const { return resizeLeft_; }

    Slider slider;
    Label equalsLabel;
    Button closeButton;

    // Draws the panel's own surface: background, percentage and border.
    void PaintClient(HDC dc) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawPanelBevel();
    void MakeResizeFont();
    void PlaceChildren();
    void MoveTo(const PanelRect& rect);
    void SetPercentLabel(const std::wstring& text, float left);
    RECT PercentLabelBox() const;

    HWND frame_ = nullptr;
    std::int16_t twipsPerPixelX_ = 15;
    std::int16_t twipsPerPixelY_ = 15;
    std::int16_t scaleStep_ = 10;
    ScalePanelGeometry geometry_;
    PanelRect placement_{0, 0, kScalePanelWidth, kScalePanelHeight};
    std::array<BevelLine, 8> bevel_{}; // L1 to L8
    std::wstring resizeText_ = L"100";
    float resizeLeft_ = static_cast<float>(kPercentLabelPlace.left);
    Brush panelBrush_;
    Font resizeFont_;
    bool contrastColours_ = false; // the slider shows the system's colours
};

} // namespace qorvic
