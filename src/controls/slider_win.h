// Slider: the program's own horizontal slider, drawn from five bitmaps.
// The groove left of the handle shows ForeColor, right of it BackColor; the
// left button alone drags the handle. Every property assignment and every drag
// step repaints and raises Change. With the focus it takes the arrow keys (one
// step), Page Up and Page Down (five) and Home and End (Min and Max).
#pragma once

#include "base/handles_win.h"
#include "base/window_win.h"
#include "controls/accessible_win.h"
#include "controls/slider_model.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qorvic {

class Slider : public Window, private AccessibleSource {
public:
    Slider();
    ~Slider() override;

    std::function<void()> Change;
    std::function<void()> Click;
    // How assistive technology reads the value; the plain number unless set.
    std::function<std::wstring(std::int16_t)> valueText;

    // Creates the control as a child of `parent`, initialises it and applies
    // the host's stored properties (an empty bag gives the defaults). The
    // pictures are drawn for the parent's DPI; x, y, width and height are
    // pixels the host has already scaled.
    bool Create(HWND parent, int x, int y, int width, int height,
                const StoredProperties& stored = {});

    // Draws the pictures afresh for `dpi` (the window moved to a screen of
    // another scale) and takes that DPI's height and minimum width; the host
    // moves the control to its scaled place afterwards. Value and colours stay.
    void SetDpi(int dpi);
    const SliderMetrics& Metrics() const { return metrics_; }

    std::uint32_t BackColor() const { return model_.BackColor(); }
    void SetBackColor(std::uint32_t colour) { model_.SetBackColor(colour); }
    std::uint32_t ForeColor() const { return model_.ForeColor(); }
    void SetForeColor(std::uint32_t colour) { model_.SetForeColor(colour); }
    std::int16_t Value() const { return model_.Value(); }
    void SetValue(std::int16_t value) { model_.SetValue(value); }
    std::int16_t Max() const { return model_.Max(); }
    void SetMax(std::int16_t max) { model_.SetMax(max); }
    std::int16_t Min() const { return model_.Min(); }
    void SetMin(std::int16_t min) { model_.SetMin(min); }

    // What the host keeps for the next load.
    StoredProperties WriteProperties() const { return model_.WriteProperties(); }

    // Moves and sizes the control; the size is held to at least 63 x 20 and a
    // height of 20 (scaled at another DPI).
    void Move(int x, int y, int width, int height);
    int Width() const;
    int Height() const;

    // The handle's left edge as last drawn, or -1 when nothing was drawn.
    int HandleLeft() const { return handleLeft_; }
    // Copies the control's current picture to `dc` at (x, y).
    void PaintTo(HDC dc, int x, int y) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PaintClient(HDC dc) override;

private:
    struct SliderBitmap;

    bool MakePictures();
    void Initialise();
    void OnAssigned(SliderProperty what);
    void DrawSlider();
    void PaintEmptyGroove();
    void PaintFullGroove();
    void Resize();
    void OnMouseMove(WPARAM buttons, int x);
    bool OnKey(WPARAM key);
    long AccRole(long) const override { return ROLE_SYSTEM_SLIDER; }
    std::wstring AccName(long) const override;
    std::optional<std::wstring> AccValue(long) const override;

    SliderModel model_;
    SliderMetrics metrics_;
    std::unique_ptr<SliderBitmap> leftCap_, rightCap_, knob_, fullFill_, emptyFill_;
    // The control's persistent picture; painting copies it to the screen.
    std::unique_ptr<SliderBitmap> surface_;
    int handleLeft_ = -1;
    bool pressed_ = false;
    bool keyboardCues_ = false; // the focus rectangle shows once the keyboard was used
    AccessibleLink accessible_{*this};
};

} // namespace qorvic
