#include "capture/screen_capture_win.h"

#include "base/handles_win.h"
#include "base/message_pump_win.h"
#include "base/waits.h"

#include <chrono>

namespace qorvic {

void ScreenCapture::Take(HWND frame, const Box& source, std::int16_t scaleStep) {
    ::ShowWindow(frame, SW_HIDE);
    ProcessPendingMessages();
    BlockingWait(std::chrono::milliseconds(250));

    raw_.Clear();
    output_.Clear();
    if (raw_.Create(source.width, source.height)) {
        MemoryDc captureDc(::CreateCompatibleDC(nullptr));
        SelectedObject captureSelected(captureDc.get(), raw_.Handle());
        {
            HWND desktop = ::GetDesktopWindow();
            WindowDc screen(desktop, true);
            ::BitBlt(captureDc.get(), 0, 0, source.width, source.height, screen.get(), source.left,
                     source.top, SRCCOPY | CAPTUREBLT);
        }
        const Size out = ScaledSize(source.width, source.height, scaleStep);
        if (output_.Create(out.width, out.height)) {
            MemoryDc destDc(::CreateCompatibleDC(nullptr));
            SelectedObject destSelected(destDc.get(), output_.Handle());
            ::SetStretchBltMode(destDc.get(), HALFTONE);
            ::SetBrushOrgEx(destDc.get(), 0, 0, nullptr);
            ::StretchBlt(destDc.get(), 0, 0, out.width, out.height, captureDc.get(), 0, 0,
                         source.width, source.height, SRCCOPY);
        }
    }

    ::ShowWindow(frame, SW_SHOW);
}

} // namespace qorvic
