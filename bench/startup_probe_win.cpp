// The program as shipped (the same Load, the same message loop) that also reports,
// on a standard output the launcher gave it, its performance-counter readings at
// entry and when Load returns: the frame shown and painted, and the timers set
// that make the hidden scaling panel and start the update check.
// Nothing is hooked, so the figures cost the program nothing.
#include "frame/application_win.h"

#include "startup_report_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    LARGE_INTEGER entry, painted;
    ::QueryPerformanceCounter(&entry);
    qorvic::FrameWindow frame;
    if (!frame.Load(showCommand))
        return 1;
    ::QueryPerformanceCounter(&painted);
    bench::ReportStartup(entry, painted);
    return qorvic::RunMessageLoop();
}
