// What the label, check box and button share: caption, font, geometry,
// visibility, hover and click tracking, and flicker-free painting over whatever
// lies behind the control.
#pragma once

#include "base/geometry.h"
#include "base/handles_win.h"
#include "base/window_win.h"
#include "controls/accessible_win.h"
#include "controls/control_font.h"
#include "controls/control_input.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace qorvic {

class OwnerDrawnControl : public Window, private AccessibleSource {
public:
    ~OwnerDrawnControl() override;

    void SetCaption(const std::wstring& text);
    const std::wstring& Caption() const { return caption_; }

    // Each setter applies at once. A refused value (size not finite or <= 0 or
    // huge, empty or over-long face name) is ignored and the setter returns false.
    bool SetFontName(const std::wstring& name);
    bool SetFontSize(float points);
    void SetFontBold(bool bold);
    void SetFontItalic(bool italic);
    const ControlFont& GetFont() const { return font_; }

    void SetForeColor(COLORREF colour);
    COLORREF ForeColor() const { return foreColour_; }

    // Position and size in the parent's client pixels. A negative width or height
    // is refused (returns false) and the control keeps its place.
    bool Move(int x, int y, int width, int height);
    bool SetLeft(int x) { return Move(x, box_.top, box_.width, box_.height); }
    bool SetTop(int y) { return Move(box_.left, y, box_.width, box_.height); }
    int Left() const { return box_.left; }
    int Top() const { return box_.top; }
    int Width() const { return box_.width; }
    int Height() const { return box_.height; }

    void SetVisible(bool visible);
    bool Visible() const;
    // Above its siblings, so it covers them where they overlap.
    void BringToFront();

    void SetEnabled(bool enabled);
    bool Enabled() const;

    void SetTag(const std::wstring& tag) { tag_ = tag; }
    const std::wstring& Tag() const { return tag_; }
    // The element index within a control array (0 for a single control).
    int Index() const { return index_; }

protected:
    struct Design {
        const wchar_t* className;
        bool focusable;        // takes the focus on a click, handles Space
        bool clickOnEnter;     // Enter clicks too (push buttons)
        bool transparent;      // paints what lies behind before its own drawing
        bool keysClick = true; // a focusable control clicks on its own keys
    };
    explicit OwnerDrawnControl(Design design) : Window(Painting::Covering), design_(design) {}

    bool CreateControl(HWND parent, int x, int y, int width, int height, int index, bool visible);

    // Draws the control into `dc` (client coordinates); what lies behind is
    // already there for a transparent control.
    virtual void Paint(HDC dc, const RECT& client) = 0;
    // Called after the caption or the font changed, before the repaint.
    virtual void OnContentChanged() {}
    // The pointer entered the control.
    virtual void OnPointerEntered() {}
    // A mouse button went up inside the control (button and shift codes of
    // control_input.h). Return false when the control was destroyed meanwhile.
    virtual bool OnMouseReleased(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {
        return true;
    }
    // A completed click (mouse or keyboard).
    virtual void OnClicked() {}

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // What assistive technology hears: the caption is the name; each kind
    // gives its role, its state beyond what the window shows, and its default
    // action, which runs as a click.
    long AccRole(long child) const override = 0;
    std::wstring AccName(long) const override { return caption_; }
    bool AccDoDefaultAction(long child) override;

    // Runs an owner's callback that may destroy this control; false when it did.
    template <typename Callback, typename... Args>
    bool Notify(const Callback& callback, Args... args) {
        if (!callback)
            return true;
        const std::shared_ptr<bool> alive = alive_;
        const Callback call = callback; // the owner may replace or destroy the original
        call(args...);
        return *alive && hwnd() != nullptr;
    }

    HFONT FontHandle();
    // Extent of `text` in the control's font with DrawText `format` (DT_CALCRECT
    // is added); `width` limits the lines for DT_WORDBREAK.
    SIZE MeasureText(const std::wstring& text, UINT format, int width = 0);
    void Repaint();
    void SetTransparentBackground(bool transparent);
    bool TransparentBackground() const { return design_.transparent; }

    bool Hovering() const { return hover_.Hovering(); }
    bool LooksPressed() const { return clicks_.LooksPressed(); }
    bool HasFocus() const { return ::GetFocus() == hwnd(); }
    // The caption's colour: ForeColor, grey when disabled; in high contrast
    // the system's text colours unless the owner set ForeColor itself.
    COLORREF TextColour() const;
    // Focus is drawn only once the user has used the keyboard.
    bool ShowsFocus() const { return HasFocus() && keyboardCues_; }
    // A focusable control is a tab stop; one whose keys do not click hands
    // them all to its parent.
    void SetFocusable(bool focusable, bool keysClick);
    // Resizes the window without the checks of Move (for sizing to content).
    void Resize(int width, int height);

private:
    void PaintClient(HDC target) override;
    void PaintWhatLiesBehind(HDC dc, const RECT& client);
    void InvalidateSiblingsAbove(const RECT& inParent);
    void FontChanged();
    void CancelPress();
    LRESULT OnMouseMove(LPARAM lParam);
    LRESULT OnButtonDown(int button, LPARAM lParam);
    LRESULT OnButtonUp(int button, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(bool down, WPARAM wParam, LPARAM lParam);
    LRESULT ForwardKey(UINT msg, WPARAM wParam, LPARAM lParam);
    RECT BoxInParent() const;

    Design design_;
    std::wstring caption_;
    std::wstring tag_;
    ControlFont font_;
    Font fontHandle_;
    COLORREF foreColour_ = RGB(0, 0, 0);
    bool foreColourSet_ = false;
    Box box_;
    int index_ = 0;
    controls::HoverTracker hover_;
    controls::ClickTracker clicks_;
    bool trackingLeave_ = false;
    bool keyboardCues_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    AccessibleLink accessible_{*this};
};

} // namespace qorvic
