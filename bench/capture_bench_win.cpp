// Times FrameWindow's whole-screen capture at 100 % and 200 % and reports what it
// costs beyond the 0.25 s wait before the copy: hiding, the screen copy, the
// halftone stretch and showing the frame again. Run it under Wine on a screen
// of the size to measure. Usage: capture_bench [repeats]
#include "capture/screen_capture_win.h"
#include "frame/frame_window_win.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring FreshDataFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"qorvic capture bench " + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int repeats = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
    qorvic::FrameWindow::Options options;
    options.homePageUrl = L""; // no update check
    options.appDataFolder = FreshDataFolder();
    options.desktopFolder = *options.appDataFolder;
    qorvic::FrameWindow form(options);
    if (!form.Load())
        return 1;
    Pump();
    std::printf("%-6s %11s %11s %11s %11s %11s\n", "scale", "output", "min ms", "median ms",
                "max ms", "overhead ms");
    qorvic::ScreenCapture capture;
    const qorvic::Box screen = qorvic::WholeScreenArea(
        ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
        ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    for (const std::int16_t step : {std::int16_t{10}, std::int16_t{20}}) {
        std::vector<double> ms;
        for (int r = 0; r < repeats; ++r) {
            const auto start = std::chrono::steady_clock::now();
            capture.Take(form.hwnd(), screen, step);
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            Pump();
        }
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        const std::string size = std::to_string(capture.Output().Width()) + "x" +
                                 std::to_string(capture.Output().Height());
        std::printf("%5d%% %11s %11.1f %11.1f %11.1f %11.1f\n", step * 10, size.c_str(), ms.front(),
                    median, ms.back(), median - 250.0);
        std::fflush(stdout);
    }
    return 0;
}
