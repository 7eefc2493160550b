// The first-level menu and the submenu: small always-on-top windows with a
// thin border that draw the program's own popup menus. One class serves both;
// the first level differs in its menu number, the Japanese widening and the
// italic captions.
#pragma once

#include "base/window_win.h"
#include "controls/label_win.h"
#include "menus/menu_model.h"
#include "menus/outside_press_win.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qorvic {

class FrameWindow;

class MenuWindow : public Window {
public:
    enum class Level { First, Second };

    MenuWindow(Level level, FrameWindow& form)
        : Window(Painting::Covering), level_(level), form_(form) {}
    ~MenuWindow() override;

    // The window load step: creates the window hidden, topmost, with its design
    // size and row element 0, and reads the row height.
    bool Load();

    // Where the opener puts the window before the build: its outer top-left
    // corner, or beside a first-level menu's outer rectangle, level with the row
    // `rowOffset` pixels below that menu's first row.
    void PlaceAt(POINT corner);
    void PlaceBeside(const RECT& parent, int rowOffset);

    // Builds the rows of menu `menu`, sizes the window, keeps it on its monitor
    // and shows it. The first level knows menu 4, the second level 3 and 5.
    void MakeMenu(std::int16_t menu);

    std::int16_t MenuNumber() const { return menuNumber_; }
    int ItemHeight() const { return itemHeight_; }
    const menus::MenuLayout& Layout() const { return layout_; }
    std::optional<std::size_t> CheckedRow() const { return checkedRow_; }
    std::optional<std::size_t> HighlightedRow() const { return highlightRow_; }
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
    void BuildMenu(const std::vector<std::wstring>& items);
    int MeasureText(const std::wstring& text);
    void KeepOnMonitor();
    // The label notifications; either may end this window's life.
    void OnRowEntered(std::size_t index);
    void OnRowReleased(std::size_t index);
    void ConnectRow(Label& label, std::size_t index);
    void DrawGlyph(HDC dc, const Box& box, bool check);

    Level level_;
    FrameWindow& form_;
    std::int16_t menuNumber_ = 0;
    int itemHeight_ = 19;
    menus::MenuMetrics metrics_ = menus::kMenuMetrics; // scaled to the frame's DPI at load
    std::vector<std::unique_ptr<Label>> rowLabels_;
    menus::MenuLayout layout_;
    std::optional<std::size_t> checkedRow_;
    std::optional<std::size_t> highlightRow_;
    std::optional<RECT> besideParent_; // set when placed as a submenu
    int rowOffset_ = 0;
    Glyphs glyphs_ = Glyphs::SymbolFontWhenInstalled;
};

// Both menu windows of one opening and the rules for their lifetime: a window
// that is unloaded while one of its own row handlers runs is destroyed at
// once but freed only after that handler has returned.
class MenuWindows {
public:
    explicit MenuWindows(FrameWindow& form) : form_(form) {}
    ~MenuWindows();
    MenuWindows(const MenuWindows&) = delete;
    MenuWindows& operator=(const MenuWindows&) = delete;

    // The loaded window or nullptr.
    MenuWindow* FirstLevel() const { return menu_.get(); }
    MenuWindow* SecondLevel() const { return subMenu_.get(); }

    // Unloads the window, then loads it afresh (hidden).
    MenuWindow& LoadFirstLevel();
    MenuWindow& LoadSecondLevel();
    // Nothing happens for a window that is not loaded.
    void UnloadFirstLevel() { Unload(menu_); }
    void UnloadSecondLevel() { Unload(subMenu_); }

    // From now on notes every press of the left or right button outside both
    // menus; presses before do not count. The watch ends once neither menu is loaded.
    void WatchPressesOutside();
    // False when no watch runs: no menu is loaded, or the system refused the hook.
    bool WatchingPressesOutside() const { return pressWatch_ && pressWatch_->Watching(); }
    // Whether a button went down outside both menus since the last call.
    bool TakePressOutside() { return pressWatch_ && pressWatch_->TakePressOutside(); }

    // Runs a row handler; windows unloaded meanwhile are freed once the
    // outermost handler has returned.
    template <typename Handler> void Dispatch(const Handler& handler) {
        ++running_;
        handler();
        if (--running_ == 0)
            retired_.clear();
    }

private:
    void Unload(std::unique_ptr<MenuWindow>& window);

    FrameWindow& form_;
    std::unique_ptr<MenuWindow> menu_;
    std::unique_ptr<MenuWindow> subMenu_;
    std::vector<std::unique_ptr<MenuWindow>> retired_;
    int running_ = 0;
    std::unique_ptr<OutsidePressWatch> pressWatch_;
};

// Whether the screen point, or the pointer, lies over the window's rectangle,
// its right and bottom edge included.
bool PointOverWindow(HWND window, POINT point);
bool PointerOverWindow(HWND window);

} // namespace qorvic
