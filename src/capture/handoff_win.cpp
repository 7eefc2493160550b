// Hand-off to Norvane: the picture goes on the clipboard, Norvane's window is
// raised and F7 typed into it. Members of Form1.
#include "base/waits.h"
#include "capture/handoff.h"
#include "mainwindow/form1_win.h"

#include <chrono>

namespace qorvic {

namespace {

struct WindowSearch {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK EnumWindowsProc(HWND window, LPARAM userValue) {
    auto* search = reinterpret_cast<WindowSearch*>(userValue);
    if (search->title.empty())
        return FALSE;
    std::wstring title(255, L'\0');
    ::GetWindowTextW(window, title.data(), 255);
    if (TitleMatches(StripAtNull(title), search->title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void SendKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

} // namespace

HWND Form1::ActivateWindowByTitle(const std::wstring& title) {
    WindowSearch search{title, nullptr};
    ::EnumWindows(&EnumWindowsProc, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
        ::ShowWindow(search.found, SW_SHOWNORMAL);
        ::BringWindowToTop(search.found);
        ::SetForegroundWindow(search.found);
    }
    BusyWait(std::chrono::milliseconds(500));
    return search.found;
}

void Form1::HandOffCapture() {
    CaptureFrame();
    if (picDest.Empty())
        return;
    PutCaptureOnClipboard();
    if (HWND norvane = ActivateWindowByTitle(L"Norvane")) {
        BusyWait(std::chrono::seconds(1));
        // The key goes only to Norvane: if something else is in front, no key is typed.
        if (::GetForegroundWindow() == norvane)
            SendKey(VK_F7);
    }
    ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

} // namespace qorvic
