// FrameWindow: the always-on-top frame whose inner area is see-through. It owns the
// program-wide state and the strip's controls; other subsystems add their
// handlers as members defined in their own files.
#pragma once

#include "base/handles_win.h"
#include "base/window_win.h"
#include "capture/picture_win.h"
#include "capture/quick_save.h"
#include "controls/check_box_win.h"
#include "controls/label_win.h"
#include "frame/app_state.h"
#include "frame/main_layout.h"
#include "frame/scale_panel_win.h"
#include "menus/menu_model.h"
#include "update/update_prompt_win.h"
#include "update/page_downloader_win.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qorvic {

class MenuWindows;

class FrameWindow : public Window {
public:
    // What a test may put in place of the user's folders; the program uses none of it.
    struct Options {
        std::optional<std::wstring> appDataFolder; // with a trailing "\"
        std::optional<std::wstring> desktopFolder; // with a trailing "\"
        // The update check's addresses in place of the built-in ones; an empty
        // home page means no check.
        std::optional<std::wstring> homePageUrl;
        std::optional<std::wstring> versionPageUrl;
    };

    // Drawn off-screen first, so resizing does not flicker.
    FrameWindow() : Window(Painting::OffScreen) {}
    explicit FrameWindow(Options options)
        : Window(Painting::OffScreen), options_(std::move(options)) {}
    ~FrameWindow() override;

    // Creates the window, runs OnLoad and shows it.
    bool Load(int showCommand = SW_SHOWNORMAL);

    AppState& State() { return state_; }
    const AppState& State() const { return state_; }

    std::wstring SpecialFolderPath(int csidl) const;

    // The frame colour as stored (0x00BBGGRR or a system colour).
    std::int32_t BackColour() const { return backColour_; }
    void SetBackColour(std::int32_t colour);

    std::int16_t MenuBarHeight = 0;
    std::int16_t ScaleStep = 10;
    std::array<std::uint8_t, 64> CustomColours{};

    Label optionsLabel;
    CheckBox wholeScreenBox;
    ScalePanel scalePanel;
    const Box& seeThroughArea() const { return seeThroughArea_; }

    // The last capture and its scaled copy, the picture every command delivers.
    Picture rawCapture;
    Picture outputPicture;
    void Capture();
    void CopyCaptureToClipboard();
    // The output picture as a device-independent bitmap, the clipboard emptied first.
    bool PutCaptureOnClipboard();

    // Quick save: capture, write the temporary bitmap, then copy it or convert
    // it to the next free "Qorvic_<n>.<format>" on the desktop.
    void QuickSave(ImageFormat format);
    std::wstring TempBitmap() const;
    bool WriteTempBitmap();
    std::string OutputPictureAsBmp() const;
    // Starts the converter for the temporary bitmap and waits at most 5 s for it.
    enum class ConvertOutcome { Done, Failed, StillRunning };
    ConvertOutcome ConvertTempBitmap(const std::wstring& target);
    // Writes the output picture to `target`: BMP directly, any other format
    // through the converter; tells the user when no file results.
    void DeliverPicture(const std::wstring& target);

    // Save through the dialog; the chosen filter is kept for the run.
    std::wstring ShowSaveDialog(const std::wstring& defaultName, const std::wstring& initialDir);
    void SaveCaptureAs();
    void WaitForEnd(HANDLE process);
    void TellSaveFailed(const std::wstring& target);

    // The scaling panel; the slider keeps ScaleStep.
    void ShowScalePanel();
    // The language submenu's pick: loads the language and applies it at once; a
    // language that cannot be loaded is told in a short message.
    void SwitchLanguage(std::int16_t index, const std::wstring& caption);

    // Hand-off: the picture on the clipboard, Norvane raised and F7 typed into it.
    void HandOffCapture();
    // Raises the first top-level window whose title contains `title`; its handle or nullptr.
    HWND ActivateWindowByTitle(const std::wstring& title);

    // The colour dialog; -1 when cancelled. The custom colours are kept for the run.
    std::int32_t PickColour();
    void ChooseFrameColour();

    // The update check, started last in OnLoad, and the prompt it may open
    // (at most once per run).
    PageDownloader pageDownloader;
    std::unique_ptr<UpdatePrompt> updatePrompt;
    void StartUpdateCheck();
    void OnPageDownloaded(const std::wstring& key);
    std::wstring HomePageUrl() const;
    std::wstring VersionPageUrl() const;

    // Closes the popup menus before a command runs; set by the menus.
    std::function<void()> onCloseMenus;

    // The popup menus: the options label opens the first level, hovering a
    // row opens or closes the submenu, releasing a button over a row runs it,
    // and the menu timer closes both on a press outside them.
    void OpenOptionsMenu();
    void OnOptionsRowEntered(std::int16_t index, std::int16_t offset);
    void RunOptionsRow(menus::OptionsRow row);
    void OnMenuTimer();
    void CloseMenus();
    // Loaded windows of this program whose name is `name` (any letter case; "" counts all).
    int LoadedWindowCount(const std::wstring& name) const;
    MenuWindows& Menus();
    // A short message to the user; a message box unless a test listens instead.
    std::function<void(const std::wstring&)> showMessage = [this](const std::wstring& text) {
        ::MessageBoxW(hwnd(), text.c_str(), L"Qorvic", MB_OK | MB_ICONWARNING);
    };

    // Called at the very end of Shutdown; ends the message loop by default.
    std::function<void()> onEnd = [] { ::PostQuitMessage(0); };

    void OnLoad();
    void LayOut();
    void Shutdown();
    // Moved to a monitor with another scale (the base keeps the new DPI): the
    // new DPI's strip height and twips, the suggested window rectangle, and a fresh layout.
    void OnDpiChanged(const RECT& suggested);

    // Draws the client area: margins, strip, see-through area and its outline.
    void PaintClient(HDC dc) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ReadSettings();
    void ApplyLanguage(const struct LanguageApply& apply);
    void WriteSettings();
    void GetMenuFont(std::wstring& name, bool& bold, bool& italic, float& size);
    void ApplyMenuFont(Label& label);
    void ApplyMenuFont(CheckBox& box);
    void PaintStrip(HDC dc, int width);
    void ConnectMenus();
    void ApplyDpi();

    Options options_;
    AppState state_;
    std::int32_t backColour_ = 0x0080FFFF; // designed colour until the settings are read
    Brush backBrush_;
    Box seeThroughArea_{};
    bool unloading_ = false;
    DWORD saveFilterIndex_ = 0; // the dialog's last chosen filter
    std::shared_ptr<MenuWindows> menus_;
    // Targets of converters still running after the wait: the quick save treats
    // them as taken, or a second save would pick the same name and replace the first.
    std::vector<std::wstring> unfinishedTargets_;
};

} // namespace qorvic
