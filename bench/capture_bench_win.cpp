// Times FrameWindow's whole-screen capture at 100 %, 50 % and 200 % and reports
// what it costs beyond the 0.25 s wait before the copy (hiding, the screen
// copy, the scaling, showing the frame again) beside the reference measured in
// the same run: a bare BitBlt of the same area into a new DIB, the floor any
// capture pays. Each repeat times the reference and the capture back to back;
// best of the repeats. 200 % comes last: under Wine a large stretch can leave
// the later screen copies of the process faster (the C library then keeps the
// copy's buffer instead of mapping it anew), which would flatter what follows.
// Run it under Wine on a screen of the size to measure. Usage: capture_bench [repeats]
#include "base/handles_win.h"
#include "capture/picture_win.h"
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

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

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

double BareCopyMs(const qorvic::Box& area) {
    const auto start = Clock::now();
    qorvic::Picture picture;
    if (picture.Create(area.width, area.height)) {
        qorvic::MemoryDc dc(::CreateCompatibleDC(nullptr));
        qorvic::SelectedObject selected(dc.get(), picture.Handle());
        qorvic::WindowDc screen(::GetDesktopWindow(), true);
        ::BitBlt(dc.get(), 0, 0, area.width, area.height, screen.get(), area.left, area.top,
                 SRCCOPY | CAPTUREBLT);
        picture.Pixels(); // flushes GDI: the pixels have landed
    }
    return MsSince(start);
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
    std::printf("%-6s %10s %9s %9s %12s %11s %9s\n", "scale", "output", "best ms", "median ms",
                "beyond wait", "bare BitBlt", "extra ms");
    qorvic::ScreenCapture capture;
    const qorvic::Box screen = qorvic::WholeScreenArea(
        ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
        ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    for (const std::int16_t step : {std::int16_t{10}, std::int16_t{5}, std::int16_t{20}}) {
        std::vector<double> ms;
        double bare = 1e9;
        for (int r = 0; r < repeats; ++r) {
            bare = std::min(bare, BareCopyMs(screen));
            const auto start = Clock::now();
            capture.Take(form.hwnd(), screen, step);
            ms.push_back(MsSince(start));
            Pump();
        }
        std::sort(ms.begin(), ms.end());
        const double beyond = ms.front() - 250.0;
        const std::string size = std::to_string(capture.Output().Width()) + "x" +
                                 std::to_string(capture.Output().Height());
        std::printf("%5d%% %10s %9.1f %9.1f %12.1f %11.1f %9.1f\n", step * 10, size.c_str(),
                    ms.front(), ms[ms.size() / 2], beyond, bare, beyond - bare);
        std::fflush(stdout);
    }
    return 0;
}
