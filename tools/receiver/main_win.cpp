// norvane_receiver.exe: stands in for the image-transmission program the hand-off
// talks to. Its window title contains "Norvane"; F7 takes the clipboard's picture.
// Usage: norvane_receiver.exe [/save=<path of the BMP to write>]
#include <windows.h>

#include "command_line.h"
#include "receiver_window_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    std::wstring savePath = conv::ParseSaveOption(arguments ? arguments : L"");
    if (savePath.empty()) {
        wchar_t full[MAX_PATH];
        const DWORD n = ::GetFullPathNameW(L"Norvane_received.bmp", MAX_PATH, full, nullptr);
        savePath = n > 0 && n < MAX_PATH ? full : L"Norvane_received.bmp";
    }
    norvane::ReceiverWindow window(savePath);
    if (!window.Create())
        return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
