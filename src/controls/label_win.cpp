#include "controls/label_win.h"

#include "controls/control_layout.h"

namespace qorvic {

Label::Label()
    : OwnerDrawnControl({L"QorvicLabel", false, false, true}),
      backColour_(::GetSysColor(COLOR_BTNFACE)) {}

bool Label::Create(HWND parent, int x, int y, int width, int height, int index) {
    return CreateControl(parent, x, y, width, height, index, true);
}

bool Label::CreateLike(const Label& model, int index) {
    if (!model.hwnd())
        return false;
    SetCaption(model.Caption());
    SetTag(model.Tag());
    const ControlFont& font = model.GetFont();
    SetFontName(font.name);
    SetFontSize(font.size);
    SetFontBold(font.bold);
    SetFontItalic(font.italic);
    SetForeColor(model.ForeColor());
    backColour_ = model.backColour_;
    alignment_ = model.alignment_;
    centreVertically_ = model.centreVertically_;
    autoSize_ = model.autoSize_;
    SetTransparent(model.Transparent());
    return CreateControl(::GetParent(model.hwnd()), model.Left(), model.Top(), model.Width(),
                         model.Height(), index, false);
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    OnContentChanged();
    Repaint();
}

void Label::SetBackColor(COLORREF colour) {
    backColour_ = colour;
    Repaint();
}

bool Label::SetAlignment(int alignment) {
    if (!controls::IsAlignment(alignment))
        return false;
    alignment_ = alignment;
    Repaint();
    return true;
}

void Label::SetVerticalCentre(bool centre) {
    centreVertically_ = centre;
    Repaint();
}

UINT Label::TextFormat() const {
    const UINT align = alignment_ == controls::kAlignRight    ? DT_RIGHT
                       : alignment_ == controls::kAlignCentre ? DT_CENTER
                                                              : DT_LEFT;
    return align | DT_NOPREFIX | (autoSize_ ? 0 : DT_WORDBREAK);
}

void Label::OnContentChanged() {
    if (!autoSize_ || !hwnd())
        return;
    const SIZE text = MeasureText(Caption(), TextFormat());
    Resize(text.cx, text.cy);
}

void Label::Paint(HDC dc, const RECT& client) {
    if (!Transparent()) {
        Brush fill(::CreateSolidBrush(backColour_));
        ::FillRect(dc, &client, fill.get());
    }
    if (Caption().empty())
        return;
    const SIZE text = MeasureText(Caption(), TextFormat(), client.right);
    const Box area{0, 0, client.right, client.bottom};
    const Box at = controls::PlaceText(area, text.cx, text.cy, alignment_, centreVertically_);
    RECT r{at.left, at.top, at.right(), at.bottom()};
    ::SetTextColor(dc, TextColour());
    ::DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r, TextFormat());
    if (ShowsFocus()) {
        RECT focus = client;
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::DrawFocusRect(dc, &focus);
    }
}

void Label::OnPointerEntered() {
    Notify(onMouseEnter);
}

bool Label::OnMouseReleased(int button, int shift, int x, int y) {
    return Notify(onMouseUp, button, shift, x, y);
}

void Label::OnClicked() {
    Notify(onClick);
}

} // namespace qorvic
