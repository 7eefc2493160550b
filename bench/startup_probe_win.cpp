// The program as shipped (same start-up, same message loop) that also reports,
// on a standard output the launcher gave it, its performance-counter readings at
// entry and after the frame's first paint (the frame and its controls, which Load
// paints at once before its later steps).
#include "base/handles_win.h"
#include "frame/application_win.h"

#include <windows.h>

#include <cstdio>

namespace {

LARGE_INTEGER painted{};

// Notes the end of every paint; the last one before Load returns ends the first paint.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && reinterpret_cast<const CWPRETSTRUCT*>(lParam)->message == WM_PAINT)
        ::QueryPerformanceCounter(&painted);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    LARGE_INTEGER entry;
    ::QueryPerformanceCounter(&entry);
    qorvic::WindowsHook hook(
        ::SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, ::GetCurrentThreadId()));
    qorvic::FrameWindow frame;
    if (!frame.Load(showCommand))
        return 1;
    hook.reset();
    char line[96];
    const int n = std::snprintf(line, sizeof line, "qpc_entry %lld\nqpc_painted %lld\n",
                                entry.QuadPart, painted.QuadPart);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
