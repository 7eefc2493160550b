// UpdatePrompt: tells the user that a newer version exists and offers to open the
// version page. While it exists the main window is disabled, so the user
// answers it first; however it closes, the main window is enabled again.
#pragma once

#include "base/window_win.h"
#include "controls/label_win.h"
#include "update/update_prompt_layout.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace qorvic {

class UpdatePrompt : public Window {
public:
    UpdatePrompt();
    ~UpdatePrompt() override;

    // Creates the window beside `mainWindow`, runs OnLoad and shows it
    // (not modal: the caller goes on and fills in messageLabel).
    bool Load(HWND mainWindow, std::int16_t twipsPerPixelX, std::int16_t twipsPerPixelY,
              const std::wstring& versionPageUrl);
    bool IsOpen() const { return hwnd() != nullptr; }
    // Sizes and places at the main window's DPI, taken when the prompt loads.
    const PromptGeometry& Geometry() const { return geometry_; }

    Label messageLabel;
    Button yesButton;
    Button noButton;

    void OnLoad();
    void OnYes();
    void OnNo();
    void Shutdown();

    // The beep and the shell's default action; a test may listen instead.
    std::function<void(DWORD hertz, DWORD milliseconds)> beep = [](DWORD hertz, DWORD ms) {
        ::Beep(hertz, ms);
    };
    std::function<void(HWND owner, const std::wstring& url, const std::wstring& folder)> openPage;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The background and the icon.
    void PaintClient(HDC dc) override;

private:
    void Close();
    // Y and N answer, Enter is "No", Esc closes, Tab moves between the buttons.
    bool OnKey(WPARAM key);
    void PaintIcon(HDC dc);

    HWND mainWindow_ = nullptr;
    std::int16_t twipsPerPixelX_ = 15;
    std::int16_t twipsPerPixelY_ = 15;
    std::wstring versionPageUrl_;
    PromptGeometry geometry_;
    bool unloaded_ = false;
};

} // namespace qorvic
