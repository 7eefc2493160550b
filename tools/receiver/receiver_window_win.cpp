#include "receiver_window_win.h"

#include "base/file_io_win.h"
#include "base/handles_win.h"
#include "bmp_writer.h"
#include "dib.h"

#include <algorithm>

namespace norvane {

namespace {

// The largest rectangle of the picture's shape that fits the client area, centred.
RECT FitRect(const RECT& client, int width, int height) {
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    const double scale =
        std::min(static_cast<double>(cw) / width, static_cast<double>(ch) / height);
    const int w = std::max(1, static_cast<int>(width * scale + 0.5));
    const int h = std::max(1, static_cast<int>(height * scale + 0.5));
    RECT r;
    r.left = client.left + (cw - w) / 2;
    r.top = client.top + (ch - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
    return r;
}

} // namespace

void WriteOutputLine(const std::string& line) {
    static HANDLE out = [] {
        HANDLE h = ::GetStdHandle(STD_OUTPUT_HANDLE);
        if ((!h || h == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS))
            h = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
        return h;
    }();
    if (!out || out == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool ReceiverWindow::Create() {
    return CreateWin({.className = L"NorvaneReceiver",
                      .title = kReceiverTitle,
                      .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      .x = CW_USEDEFAULT,
                      .y = CW_USEDEFAULT,
                      .width = 480,
                      .height = 360,
                      .background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)});
}

LRESULT ReceiverWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_F7) {
            Receive();
            return 0;
        }
        break;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

void ReceiverWindow::Receive() {
    std::vector<std::uint8_t> dib;
    {
        qorvic::ClipboardScope clipboard(hwnd(), 1000); // its sender may still hold it
        if (clipboard.ok()) {
            qorvic::GlobalLockScope data(::GetClipboardData(CF_DIB));
            if (data.data()) {
                const auto* bytes = static_cast<const std::uint8_t*>(data.data());
                dib.assign(bytes, bytes + data.size());
            }
        }
    }
    conv::Image picture;
    std::string error;
    if (dib.empty() || !conv::DecodeDib(dib, picture, error)) {
        WriteOutputLine("no picture on the clipboard");
        return;
    }
    picture_ = std::move(picture);
    shown_ = conv::EncodeDib32(picture_);
    ::InvalidateRect(hwnd(), nullptr, TRUE);

    const std::vector<std::uint8_t> bmp = conv::EncodeBmp(picture_);
    if (!qorvic::WriteFileAtomically(
            savePath_, std::string_view(reinterpret_cast<const char*>(bmp.data()), bmp.size()))) {
        WriteOutputLine("could not save the picture");
        return;
    }
    WriteOutputLine("received " + std::to_string(picture_.width) + "x" +
                    std::to_string(picture_.height));
}

void ReceiverWindow::PaintClient(HDC dc) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    ::FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (shown_.empty() || client.right <= 0 || client.bottom <= 0)
        return;
    const RECT r = FitRect(client, picture_.width, picture_.height);
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, picture_.width,
                    picture_.height, shown_.data() + 40,
                    reinterpret_cast<const BITMAPINFO*>(shown_.data()), DIB_RGB_COLORS, SRCCOPY);
}

} // namespace norvane
