#include "controls/uni_label_win.h"

#include "controls/control_layout.h"

namespace qorvic {

UniLabel::UniLabel()
    : OwnerDrawnControl({L"QorvicUniLabel", false, false, true}),
      backColour_(::GetSysColor(COLOR_BTNFACE)) {}

bool UniLabel::Create(HWND parent, int x, int y, int width, int height, int index) {
    return CreateControl(parent, x, y, width, height, index, true);
}

bool UniLabel::CreateLike(const UniLabel& model, int index) {
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

void UniLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    OnContentChanged();
    Repaint();
}

void UniLabel::SetBackColor(COLORREF colour) {
    backColour_ = colour;
    Repaint();
}

bool UniLabel::SetAlignment(int alignment) {
    if (!controls::IsAlignment(alignment))
        return false;
    alignment_ = alignment;
    Repaint();
    return true;
}

void UniLabel::SetVerticalCentre(bool centre) {
    centreVertically_ = centre;
    Repaint();
}

UINT UniLabel::TextFormat() const {
    const UINT align = alignment_ == controls::kAlignRight    ? DT_RIGHT
                       : alignment_ == controls::kAlignCentre ? DT_CENTER
                                                              : DT_LEFT;
    return align | DT_NOPREFIX | (autoSize_ ? 0 : DT_WORDBREAK);
}

void UniLabel::OnContentChanged() {
    if (!autoSize_ || !hwnd())
        return;
    const SIZE text = MeasureText(Caption(), TextFormat());
    Resize(text.cx, text.cy);
}

void UniLabel::Paint(HDC dc, const RECT& client) {
    if (!Transparent()) {
        Brush fill(::CreateSolidBrush(backColour_));
        ::FillRect(dc, &client, fill.get());
    }
    if (Caption().empty())
        return;
    const SIZE text = MeasureText(Caption(), TextFormat(), client.right);
    const controls::Box area{0, 0, client.right, client.bottom};
    const controls::Box at =
        controls::PlaceText(area, text.cx, text.cy, alignment_, centreVertically_);
    RECT r{at.left, at.top, at.right(), at.bottom()};
    ::SetTextColor(dc, Enabled() ? ForeColor() : controls::kDisabledText);
    ::DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r, TextFormat());
}

void UniLabel::OnPointerEntered() {
    Notify(onMouseEnter);
}

bool UniLabel::OnMouseReleased(int button, int shift, int x, int y) {
    return Notify(onMouseUp, button, shift, x, y);
}

void UniLabel::OnClicked() {
    Notify(onClick);
}

} // namespace qorvic
