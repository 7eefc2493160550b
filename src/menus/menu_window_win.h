// One popup menu window: a small always-on-top window with a thin border that
// draws the program's own menu rows. One class serves both levels; the first
// level differs in its menu number, the Japanese widening and the italic captions.
#pragma once

#include "base/window_win.h"
#include "controls/accessible_win.h"
#include "controls/label_win.h"
#include "menus/menu_model.h"
#include "menus/menu_host_win.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qorvic {

// What a menu window tells its owner; either call may end the window's life.
struct MenuRowEvents {
    std::function<void(std::size_t row, int rowOffset)> entered; // offset below the first row
    std::function<void(std::size_t row)> released;
};

class MenuWindow : public Window, private AccessibleSource {
public:
    enum class Level { First, Second };

    MenuWindow(Level level, MenuRowEvents events)
        : Window(Painting::Covering), level_(level), events_(std::move(events)) {}
    ~MenuWindow() override;

    // The window load step: creates the window hidden, topmost, owned by
    // `owner`, with its design size at `dpi` and row element 0, and reads the row height.
    bool Load(HWND owner, int dpi);

    // Where the opener puts the window before the build: its outer top-left
    // corner, or beside a first-level menu's outer rectangle, level with the row
    // `rowOffset` pixels below that menu's first row.
    void PlaceAt(POINT corner);
    void PlaceBeside(const RECT& parent, int rowOffset);

    // Builds the rows of menu `menu` from `items`, sizes the window, keeps it
    // on its monitor and shows it. `checkedRow` gets the check mark.
    void MakeMenu(std::int16_t menu, const std::vector<std::wstring>& items,
                  const MenuContent& content, std::optional<std::size_t> checkedRow = {});

    std::int16_t MenuNumber() const { return menuNumber_; }
    int ItemHeight() const { return itemHeight_; }
    const menus::MenuLayout& Layout() const { return layout_; }
    std::optional<std::size_t> CheckedRow() const { return checkedRow_; }
    std::optional<std::size_t> HighlightedRow() const { return highlightRow_; }
    // The highlight put on a row from the keyboard: no submenu opens or closes.
    void SetHighlightedRow(std::optional<std::size_t> row);
    // The rows' items, hidden ones included.
    std::vector<menus::MenuItem> Items() const;
    // The text label of row `i`, or nullptr.
    Label* rowLabel(std::size_t i) { return i < rowLabels_.size() ? rowLabels_[i].get() : nullptr; }

    // Draws the face, the highlight, the separators, check mark and arrows; the
    // text labels draw themselves above it.
    void PaintContent(HDC dc);

    // The check mark and arrow come from the symbol font when it is installed;
    // otherwise, or when asked to, the same shapes are drawn by hand.
    enum class Glyphs { SymbolFontWhenInstalled, Drawn };
    void SetGlyphs(Glyphs glyphs) { glyphs_ = glyphs; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The screen and the transparent row labels (through WM_PRINTCLIENT) draw from here.
    void PaintClient(HDC dc) override { PaintContent(dc); }

private:
    void BuildMenu(const std::vector<std::wstring>& items, const MenuContent& content);
    int MeasureText(const std::wstring& text, const ControlFont& font, int dpi);
    void KeepOnMonitor();
    void OnRowEntered(std::size_t index);
    void ConnectRow(Label& label, std::size_t index);
    void DrawGlyph(HDC dc, const Box& box, bool check);

    // To assistive technology a menu with one menu item per row.
    long AccRole(long child) const override;
    std::wstring AccName(long child) const override;
    long AccState(long child) const override;
    std::wstring AccDefaultAction(long child) const override;
    bool AccDoDefaultAction(long child) override;
    long AccChildCount() const override { return static_cast<long>(layout_.rows.size()); }
    std::optional<RECT> AccChildLocation(long child) const override;
    long AccFocusedChild() const override;

    Level level_;
    MenuRowEvents events_;
    std::int16_t menuNumber_ = 0;
    int itemHeight_ = 19;
    menus::MenuMetrics metrics_ = menus::kMenuMetrics; // scaled to the owner's DPI at load
    std::vector<std::unique_ptr<Label>> rowLabels_;
    menus::MenuLayout layout_;
    std::optional<std::size_t> checkedRow_;
    std::optional<std::size_t> highlightRow_;
    std::optional<RECT> besideParent_; // set when placed as a submenu
    int rowOffset_ = 0;
    Glyphs glyphs_ = Glyphs::SymbolFontWhenInstalled;
    AccessibleLink accessible_{*this};
};

} // namespace qorvic
