// The reference for the start-up bench: the smallest ordinary Win32 window,
// built and linked like the program. It reports, on a standard output the
// launcher gave it, its performance-counter readings at entry and after its first paint.
#include "startup_report_win.h"

#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        ::FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    LARGE_INTEGER entry, painted;
    ::QueryPerformanceCounter(&entry);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BareWindow";
    ::RegisterClassW(&wc);
    HWND hwnd =
        ::CreateWindowExW(0, wc.lpszClassName, L"Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 320, 266, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
    ::QueryPerformanceCounter(&painted);
    bench::ReportStartup(entry, painted);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
