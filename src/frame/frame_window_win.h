// FrameWindow: the always-on-top frame whose inner area is see-through. It
// starts and ends the program, keeps the settings and the program-wide state,
// lays out the strip and the scaling panel, paints the frame colour, and runs
// the commands the menus report.
#pragma once

#include "app/app_state.h"
#include "base/handles_win.h"
#include "base/window_win.h"
#include "capture/picture_writer_win.h"
#include "capture/save_as_win.h"
#include "capture/screen_capture_win.h"
#include "controls/check_box_win.h"
#include "controls/label_win.h"
#include "frame/colour_dialog_win.h"
#include "frame/main_layout.h"
#include "frame/scale_panel_win.h"
#include "menus/menu_host_win.h"
#include "menus/menu_windows_win.h"
#include "update/update_check_win.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qorvic {

// The commands' own state: the last capture, the save dialog's filter, the
// custom colours and the update check.
struct FrameCommands {
    ScreenCapture capture;
    SaveAs saveAs;
    ColourDialog colourDialog;
    UpdateCheck updateCheck;
};

class FrameWindow : public Window, public MenuHost {
public:
    // What a test may put in place of the user's folders and of what the
    // program shows; the program itself uses none of it.
    struct Options {
        std::optional<std::wstring> appDataFolder; // with a trailing "\"
        std::optional<std::wstring> desktopFolder; // with a trailing "\"
        // The update check's addresses in place of the built-in ones; an empty
        // home page means no check.
        std::optional<std::wstring> homePageUrl;
        std::optional<std::wstring> versionPageUrl;
        // How long after the first paint the update check starts (none: a
        // second); 0 starts it before Load returns.
        std::optional<unsigned> updateCheckDelayMs;
        // How long after the first paint the hidden scaling panel is made
        // (none: as soon as the frame waits for input); 0 makes it before Load
        // returns. Showing it makes it at once when it is not there yet.
        std::optional<unsigned> scalePanelDelayMs;
        // A short message to the user; a message box unless set.
        std::function<void(const std::wstring&)> showMessage;
        // Called at the very end of Shutdown; ends the message loop unless set.
        std::function<void()> onEnd;
    };

    explicit FrameWindow(Options options = {});
    ~FrameWindow() override;

    // Creates the window, runs the start-up and shows it.
    bool Load(int showCommand = SW_SHOWNORMAL);
    // Writes the settings, unloads every window of the program and ends the loop.
    void Shutdown();

    AppState& State() { return state_; }

    // The strip's controls and the scaling panel.
    Label optionsLabel;
    CheckBox wholeScreenBox;
    ScalePanel scalePanel;

    const FrameShape& Shape() const { return shape_; }

    // The frame colour as stored (0x00BBGGRR or a system colour).
    std::int32_t BackColour() const { return backColour_; }
    void SetBackColour(std::int32_t colour);

    FrameCommands& commands() { return commands_; }

    MenuWindows& Menus() { return menus_; }
    // What the menus report: the command behind the row runs.
    void OnMenuRowChosen(std::int16_t menu, std::size_t row) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Margins, strip, see-through area and its outline.
    void PaintClient(HDC dc) override;

private:
    HWND MenuOwner() const override { return hwnd(); }
    MenuContent CurrentMenuContent() const override;

    void OnLoad();
    void LayOut();
    // The base keeps the new DPI; the strip, twips, window rectangle and layout follow.
    void OnDpiChanged(const RECT& suggested);
    void ApplyDpi();
    // The hidden scaling panel, unless it is there already.
    void MakeScalePanel();
    void ReadSettings();
    void WriteSettings();
    void ApplyLanguage(const struct LanguageApply& apply);
    void ApplyMenuFont(OwnerDrawnControl& control) const;
    void PaintStrip(HDC dc, int width);
    std::wstring SpecialFolderPath(int csidl) const;
    void Tell(const std::wstring& text);

    // The commands, in frame_commands_win.cpp.
    const Picture& Capture();
    void RunOptionsRow(menus::OptionsRow row);
    void SwitchLanguage(std::size_t row);
    void ChooseFrameColour();
    void StartUpdateCheck();

    // The keyboard, in frame_commands_win.cpp: shortcuts, Tab in the strip, keys of open menus.
    bool OnKeyDown(WPARAM key);
    void FocusControl(HWND control);

    Options options_;
    AppState state_;
    FrameShape shape_;
    std::int32_t backColour_ = 0x0080FFFF; // designed colour until the settings are read
    Brush backBrush_;
    bool unloading_ = false;
    FrameCommands commands_;
    std::optional<PictureWriter> writer_; // once the data folder is known
    MenuWindows menus_{*this};
    HWND focusBeforeDeactivation_ = nullptr; // the control that gets the focus back
};

} // namespace qorvic
