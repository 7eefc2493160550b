// The one capture step and the clipboard copy, as members of FrameWindow.
#include "base/message_pump_win.h"
#include "base/debug_log_win.h"
#include "base/waits.h"
#include "capture/capture_geometry.h"
#include "frame/frame_window_win.h"

#include <chrono>
#include <cstring>

namespace qorvic {

namespace {
// Long enough for another program's brief hold on the clipboard, short enough
// not to be noticed when the clipboard stays locked.
constexpr DWORD kClipboardPatienceMs = 1000;
} // namespace

void FrameWindow::Capture() {
    Box source = FrameCaptureArea(seeThroughArea_, Dpi());
    POINT origin{source.left, source.top};
    ::ClientToScreen(hwnd(), &origin);
    source.left = origin.x;
    source.top = origin.y;
    if (wholeScreenBox.Value()) {
        wholeScreenBox.SetValue(false); // the option holds for one capture only
        source = WholeScreenArea(
            ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
            ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    }

    ::ShowWindow(hwnd(), SW_HIDE);
    ProcessPendingMessages();
    BlockingWait(std::chrono::milliseconds(250));

    rawCapture.Clear();
    outputPicture.Clear();
    if (rawCapture.Create(source.width, source.height)) {
        MemoryDc captureDc(::CreateCompatibleDC(nullptr));
        SelectedObject captureSelected(captureDc.get(), rawCapture.Handle());
        {
            HWND desktop = ::GetDesktopWindow();
            WindowDc screen(desktop, true);
            ::BitBlt(captureDc.get(), 0, 0, source.width, source.height, screen.get(), source.left,
                     source.top, SRCCOPY | CAPTUREBLT);
        }
        const Size out = ScaledSize(source.width, source.height, ScaleStep);
        if (outputPicture.Create(out.width, out.height)) {
            MemoryDc destDc(::CreateCompatibleDC(nullptr));
            SelectedObject destSelected(destDc.get(), outputPicture.Handle());
            ::SetStretchBltMode(destDc.get(), HALFTONE);
            ::SetBrushOrgEx(destDc.get(), 0, 0, nullptr);
            ::StretchBlt(destDc.get(), 0, 0, out.width, out.height, captureDc.get(), 0, 0,
                         source.width, source.height, SRCCOPY);
        }
    }

    ::ShowWindow(hwnd(), SW_SHOW);
}

bool FrameWindow::PutCaptureOnClipboard() {
    const std::string dib = outputPicture.ToPackedDib();
    if (dib.empty())
        return false;
    ClipboardScope clipboard(hwnd(), kClipboardPatienceMs);
    if (!clipboard.ok() || !::EmptyClipboard()) {
        DebugLogLastError(L"cannot open the clipboard");
        return false;
    }
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, dib.size());
    if (!memory) {
        DebugLogLastError(L"no memory for the clipboard's picture");
        return false;
    }
    if (void* target = ::GlobalLock(memory)) {
        std::memcpy(target, dib.data(), dib.size());
        ::GlobalUnlock(memory);
        // The clipboard owns the memory once it accepts it.
        if (::SetClipboardData(CF_DIB, memory))
            return true;
    }
    DebugLogLastError(L"the clipboard did not take the picture");
    ::GlobalFree(memory);
    return false;
}

void FrameWindow::CopyCaptureToClipboard() {
    Capture();
    PutCaptureOnClipboard();
}

} // namespace qorvic
