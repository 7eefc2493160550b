#include "capture/screen_capture_win.h"

#include "base/handles_win.h"
#include "base/message_pump_win.h"
#include "base/waits.h"
#include "capture/resample.h"

#include <chrono>

namespace qorvic {

void ScreenCapture::Take(HWND frame, const Box& source, std::int16_t scaleStep) {
    ::ShowWindow(frame, SW_HIDE);
    ProcessPendingMessages();
    BlockingWait(std::chrono::milliseconds(250));

    raw_.Clear();
    output_.Clear();
    const Size out = ScaledSize(source.width, source.height, scaleStep);
    unscaled_ = out.width == source.width && out.height == source.height;
    if (raw_.Create(source.width, source.height)) {
        {
            MemoryDc captureDc(::CreateCompatibleDC(nullptr));
            SelectedObject captureSelected(captureDc.get(), raw_.Handle());
            HWND desktop = ::GetDesktopWindow();
            WindowDc screen(desktop, true);
            ::BitBlt(captureDc.get(), 0, 0, source.width, source.height, screen.get(), source.left,
                     source.top, SRCCOPY | CAPTUREBLT);
        }
        // Our own scaling rather than a HALFTONE StretchBlt: Wine's does not
        // average when it shrinks, and it is slow when it enlarges.
        if (!unscaled_ && output_.Create(out.width, out.height))
            Resample(raw_.Pixels(), source.width, source.height, output_.Pixels(), out.width,
                     out.height);
    }

    ::ShowWindow(frame, SW_SHOW);
}

} // namespace qorvic
