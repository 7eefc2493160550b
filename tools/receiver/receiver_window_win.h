// The receiving program's one window: on F7 it takes the bitmap from the
// clipboard, shows it scaled to the client area and saves it as a BMP file.
#pragma once

#include "base/window_win.h"
#include "image.h"

#include <string>
#include <vector>

namespace norvane {

inline constexpr const wchar_t* kReceiverTitle = L"Norvane receiver";

class ReceiverWindow : public qorvic::Window {
public:
    // The class brush clears the window; the picture is drawn over it.
    explicit ReceiverWindow(std::wstring savePath)
        : Window(Painting::OnBackground), savePath_(std::move(savePath)) {}
    bool Create();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PaintClient(HDC dc) override;

private:
    // F7: the clipboard's picture becomes ours, is shown and saved.
    void Receive();

    std::wstring savePath_;
    conv::Image picture_;
    std::vector<std::uint8_t> shown_; // the picture as a 32-bit DIB for drawing
};

// Writes one line to whatever standard output the program was given, or to the
// console of the process that started it; nothing when there is neither.
void WriteOutputLine(const std::string& line);

} // namespace norvane
