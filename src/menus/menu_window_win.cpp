#include "menus/menu_window_win.h"

#include "base/dpi.h"
#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "base/numeric.h"
#include "controls/control_font.h"
#include "controls/control_font_win.h"
#include "controls/high_contrast_win.h"
#include "menus/menu_placement.h"

namespace qorvic {

namespace {

// The hover highlight: a vertical gradient from near-white blue to light blue
// in a steel-blue outline.
constexpr COLORREF kHighlightTop = RGB(236, 255, 255);
constexpr COLORREF kHighlightBottom = RGB(162, 200, 249);
constexpr COLORREF kHighlightOutline = RGB(100, 145, 180);
constexpr COLORREF kSeparatorGrey = RGB(200, 200, 200);
constexpr COLORREF kSeparatorWhite = RGB(255, 255, 255);

// The symbol font's check mark and right-pointing triangle.
constexpr wchar_t kSymbolFont[] = L"Marlett";
constexpr wchar_t kCheckGlyph[] = L"a";
constexpr wchar_t kArrowGlyph[] = L"4";
constexpr float kCheckPoints = 16.0f;
constexpr float kArrowPoints = 12.0f;

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool SymbolFontInstalled() {
    static const bool installed = [] {
        WindowDc screen(nullptr);
        if (!screen)
            return false;
        LOGFONTW query{};
        query.lfCharSet = DEFAULT_CHARSET;
        wcscpy_s(query.lfFaceName, kSymbolFont);
        bool found = false;
        ::EnumFontFamiliesExW(screen.get(), &query, &NoteFontFound,
                              reinterpret_cast<LPARAM>(&found), 0);
        return found;
    }();
    return installed;
}

Font MakeFont(const std::wstring& face, float points, bool bold, bool italic, int dpi) {
    return CreateFontForPoints(face.c_str(), points, bold, italic, dpi);
}

void HorizontalLine(HDC dc, int y, int width, COLORREF colour) {
    RECT line{0, y, width, y + 1};
    Brush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &line, brush.get());
}

Box ToBox(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Box WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !::GetMonitorInfoW(monitor, &info))
        return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return ToBox(info.rcWork);
}

TRIVERTEX Vertex(int x, int y, COLORREF colour) {
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
    return v;
}

} // namespace

MenuWindow::~MenuWindow() = default;

bool MenuWindow::Load(HWND owner, int dpi) {
    const bool first = level_ == Level::First;
    metrics_ = menus::ScaledMenuMetrics(dpi);
    const menus::MenuMetrics& m = metrics_;
    RECT outer{0, 0, m.designClientWidth, m.designClientHeight};
    const DWORD style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    // Menus do not take the activation from the frame, and stay off the taskbar.
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    if (!CreateWin({.className = first ? L"QorvicMenu" : L"QorvicSubmenu",
                    .style = style,
                    .exStyle = exStyle,
                    .width = outer.right - outer.left,
                    .height = outer.bottom - outer.top,
                    .parent = owner}))
        return false;
    SetDpi(dpi); // the owner's, which sized the window
    ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    itemHeight_ = SystemMetricForDpi(SM_CYMENU, dpi);

    auto label = std::make_unique<Label>();
    label->SetCaption(L"Label");
    label->SetFontName(L"Arial");
    label->SetFontSize(9.75f);
    label->SetTransparent(true);
    label->Create(hwnd(), m.checkWidth, m.firstRowTop, m.designClientWidth - m.checkWidth,
                  itemHeight_, 0);
    ConnectRow(*label, 0);
    rowLabels_.push_back(std::move(label));
    return true;
}

void MenuWindow::PlaceAt(POINT corner) {
    besideParent_.reset();
    ::SetWindowPos(hwnd(), nullptr, corner.x, corner.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuWindow::PlaceBeside(const RECT& parent, int rowOffset) {
    besideParent_ = parent;
    rowOffset_ = rowOffset;
    ::SetWindowPos(hwnd(), nullptr, parent.right - metrics_.submenuOverlap, parent.top + rowOffset,
                   0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuWindow::MakeMenu(std::int16_t menu, const std::vector<std::wstring>& items,
                          const MenuContent& content, std::optional<std::size_t> checkedRow) {
    if (!hwnd())
        return;
    menuNumber_ = menu;
    BuildMenu(items, content);
    // A row that is not shown is not marked; the menu still opens.
    checkedRow_.reset();
    if (checkedRow && *checkedRow < layout_.rows.size() && !layout_.rows[*checkedRow].item.hidden)
        checkedRow_ = checkedRow;
    KeepOnMonitor();
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int MenuWindow::MeasureText(const std::wstring& text, const ControlFont& menuFont, int dpi) {
    if (text.empty())
        return 0;
    // The window's own font: the menu face and size, regular weight.
    Font font;
    if (controls::IsAcceptableFaceName(menuFont.name) &&
        controls::IsAcceptableFontSize(menuFont.size))
        font = MakeFont(menuFont.name, menuFont.size, false, false, dpi);
    WindowDc dc(hwnd());
    if (!dc)
        return 0;
    SelectedObject selected(dc.get(), font ? font.get() : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
}

void MenuWindow::BuildMenu(const std::vector<std::wstring>& items, const MenuContent& content) {
    const ControlFont& font = content.font;
    RECT outer{};
    ::GetWindowRect(hwnd(), &outer);

    menus::MenuBuild build;
    build.items = items;
    build.measureText = [this, &content](const std::wstring& text) {
        return MeasureText(text, content.font, Dpi());
    };
    build.itemHeight = itemHeight_;
    build.designOuterWidth = outer.right - outer.left;
    build.twipsPerPixelX = TwipsPerPixelForDpi(Dpi());
    build.twipsPerPixelY = TwipsPerPixelForDpi(Dpi());
    build.metrics = metrics_;
    build.japaneseWidening = level_ == Level::First && content.languages &&
                             menus::WidensFirstLevel(content.languages->CurrentLanguage);
    layout_ = menus::LayoutMenu(build);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, layout_.outerWidth, layout_.outerHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (std::size_t i = 0; i < layout_.rows.size(); ++i) {
        const menus::MenuRow& row = layout_.rows[i];
        if (i >= rowLabels_.size()) {
            auto label = std::make_unique<Label>();
            if (!label->CreateLike(*rowLabels_.front(), static_cast<int>(i)))
                continue;
            label->BringToFront();
            ConnectRow(*label, i);
            rowLabels_.push_back(std::move(label));
        }
        Label& label = *rowLabels_[i];
        label.SetFontName(font.name);
        label.SetFontSize(font.size);
        label.SetFontBold(font.bold);
        if (level_ == Level::First)
            label.SetFontItalic(font.italic);
        label.SetCaption(row.item.caption);
        label.SetTag(row.item.tag);
        label.Move(row.text.left, row.text.top, row.text.width, row.text.height);
        label.SetVisible(!row.item.hidden);
    }
}

void MenuWindow::KeepOnMonitor() {
    RECT now{};
    ::GetWindowRect(hwnd(), &now);
    const int width = now.right - now.left;
    const int height = now.bottom - now.top;
    Point corner{now.left, now.top};
    if (besideParent_) {
        const Box area = WorkAreaOf(::MonitorFromRect(&*besideParent_, MONITOR_DEFAULTTONEAREST));
        corner =
            menus::SubmenuCorner(ToBox(*besideParent_), rowOffset_, width, height, area, metrics_);
    } else {
        const Box area =
            WorkAreaOf(::MonitorFromPoint(POINT{now.left, now.top}, MONITOR_DEFAULTTONEAREST));
        corner = menus::KeepInside(corner, width, height, area);
    }
    if (corner.x != now.left || corner.y != now.top)
        ::SetWindowPos(hwnd(), nullptr, corner.x, corner.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuWindow::ConnectRow(Label& label, std::size_t index) {
    label.onMouseEnter = [this, index] { OnRowEntered(index); };
    // Whichever button goes up over the row activates it; the owner may unload this window.
    label.onMouseUp = [this, index](int, int, int, int) {
        if (index < rowLabels_.size() && events_.released)
            events_.released(index);
    };
}

// Hover: the highlight moves to the row, and the owner hears of it (the first
// level decides the submenu there).
void MenuWindow::OnRowEntered(std::size_t index) {
    if (index >= layout_.rows.size())
        return;
    SetHighlightedRow(index);
    if (events_.entered)
        events_.entered(index, menus::RowOffset(layout_, index));
}

void MenuWindow::SetHighlightedRow(std::optional<std::size_t> row) {
    if (row && *row >= layout_.rows.size())
        return;
    highlightRow_ = row;
    if (HighContrastOn()) // the rows' text in the system's menu colours
        for (std::size_t i = 0; i < rowLabels_.size(); ++i)
            rowLabels_[i]->SetForeColor(
                ::GetSysColor(highlightRow_ == i ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    // Screen readers follow the highlight as the focused menu item.
    if (row)
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd(), OBJID_CLIENT, static_cast<LONG>(*row) + 1);
}

std::vector<menus::MenuItem> MenuWindow::Items() const {
    std::vector<menus::MenuItem> items;
    for (const menus::MenuRow& row : layout_.rows)
        items.push_back(row.item);
    return items;
}

void MenuWindow::DrawGlyph(HDC dc, const Box& box, bool check) {
    const COLORREF colour = ::GetSysColor(check ? COLOR_HIGHLIGHT : COLOR_BTNTEXT);
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, box.left, box.top, box.right(), box.bottom());
    if (glyphs_ == Glyphs::SymbolFontWhenInstalled && SymbolFontInstalled()) {
        Font font = MakeFont(kSymbolFont, check ? kCheckPoints : kArrowPoints, check, false, Dpi());
        SelectedObject selected(dc, font.get());
        ::SetTextColor(dc, colour);
        ::SetBkMode(dc, TRANSPARENT);
        RECT r{box.left, box.top, box.right(), box.bottom()};
        ::DrawTextW(dc, check ? kCheckGlyph : kArrowGlyph, 1, &r,
                    DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        // Without the symbol font: the same shapes drawn by hand.
        Pen pen(::CreatePen(PS_SOLID, 2, colour));
        Brush brush(::CreateSolidBrush(colour));
        SelectedObject selectedPen(dc, pen.get());
        SelectedObject selectedBrush(dc, brush.get());
        std::vector<POINT> points;
        for (const Point& p : check ? menus::DrawnCheckMark(box) : menus::DrawnArrow(box))
            points.push_back({p.x, p.y});
        if (check)
            ::Polyline(dc, points.data(), static_cast<int>(points.size()));
        else
            ::Polygon(dc, points.data(), static_cast<int>(points.size()));
    }
    ::RestoreDC(dc, saved);
}

void MenuWindow::PaintContent(HDC dc) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const bool contrast = HighContrastOn();
    ::FillRect(dc, &client, ::GetSysColorBrush(contrast ? COLOR_MENU : COLOR_BTNFACE));

    if (contrast && highlightRow_ && *highlightRow_ < layout_.rows.size()) {
        RECT outer{};
        ::GetWindowRect(hwnd(), &outer);
        const Box box = menus::HighlightBox(layout_.rows[*highlightRow_].top,
                                            outer.right - outer.left, itemHeight_, metrics_);
        RECT fill{box.left, box.top, box.right(), box.bottom()};
        ::FillRect(dc, &fill, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    } else if (highlightRow_ && *highlightRow_ < layout_.rows.size()) {
        RECT outer{};
        ::GetWindowRect(hwnd(), &outer);
        const Box box = menus::HighlightBox(layout_.rows[*highlightRow_].top,
                                            outer.right - outer.left, itemHeight_, metrics_);
        TRIVERTEX vertices[2] = {Vertex(box.left, box.top, kHighlightTop),
                                 Vertex(box.right(), box.bottom(), kHighlightBottom)};
        GRADIENT_RECT rect{0, 1};
        ::GdiGradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V); // as the strip's
        RECT frame{box.left, box.top, box.right(), box.bottom()};
        Brush outline(::CreateSolidBrush(kHighlightOutline));
        ::FrameRect(dc, &frame, outline.get());
    }

    for (std::size_t i = 0; i < layout_.rows.size(); ++i) {
        const menus::MenuRow& row = layout_.rows[i];
        if (row.greyLineY) {
            HorizontalLine(dc, *row.greyLineY, client.right,
                           contrast ? ::GetSysColor(COLOR_GRAYTEXT) : kSeparatorGrey);
            HorizontalLine(dc, *row.whiteLineY, client.right,
                           contrast ? ::GetSysColor(COLOR_MENU) : kSeparatorWhite);
        }
        if (row.item.arrow)
            DrawGlyph(dc, row.arrow, false);
        if (checkedRow_ == i)
            DrawGlyph(dc, row.check, true);
    }
}

LRESULT MenuWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGED: {
        // Shown and hidden, however it happens: screen readers hear the menu come and go.
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        if (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
            NotifyAccessible(flags & SWP_SHOWWINDOW ? EVENT_SYSTEM_MENUPOPUPSTART
                                                    : EVENT_SYSTEM_MENUPOPUPEND,
                             hwnd());
        return Default(msg, wParam, lParam);
    }
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer = accessible_.Answer(hwnd(), wParam, lParam))
            return *answer;
        return Default(msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace qorvic
