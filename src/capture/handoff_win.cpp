#include "capture/handoff_win.h"

#include "base/waits.h"
#include "capture/clipboard_copy_win.h"
#include "capture/handoff.h"

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

constexpr auto kLateActivation = std::chrono::seconds(2);

bool WaitForForeground(HWND window, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::GetForegroundWindow() != window) {
        if (std::chrono::steady_clock::now() >= deadline || !::IsWindow(window))
            return false;
        ::Sleep(20);
    }
    return true;
}

} // namespace

HWND ActivateWindowByTitle(const std::wstring& title) {
    WindowSearch search{title, nullptr};
    ::EnumWindows(&EnumWindowsProc, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
        ::ShowWindow(search.found, SW_SHOWNORMAL);
        ::BringWindowToTop(search.found);
        ::SetForegroundWindow(search.found);
    }
    BlockingWait(std::chrono::milliseconds(500));
    return search.found;
}

void HandOffToNorvane(HWND frame, const Picture& picture,
                      const std::function<void(const std::wstring&)>& tell) {
    if (picture.Empty())
        return;
    // Without the picture on the clipboard, F7 would make Norvane send
    // whatever the clipboard held before.
    if (!PutPictureOnClipboard(frame, picture)) {
        if (tell)
            tell(L"Qorvic could not put the picture on the clipboard, so it was not "
                 L"handed over to Norvane.");
        return;
    }
    if (HWND norvane = ActivateWindowByTitle(L"Norvane")) {
        BlockingWait(std::chrono::seconds(1));
        // Something may have taken the front back meanwhile (under Wine our own
        // frame's late activation from the capture does): ask once more and
        // give Norvane a little time. The key goes only to Norvane: if
        // something else stays in front, no key is typed.
        if (::GetForegroundWindow() != norvane) {
            ::BringWindowToTop(norvane);
            ::SetForegroundWindow(norvane);
        }
        if (WaitForForeground(norvane, kLateActivation))
            SendKey(VK_F7);
    }
    ::SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

} // namespace qorvic
