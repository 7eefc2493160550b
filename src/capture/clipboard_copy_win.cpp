#include "capture/clipboard_copy_win.h"

#include "base/debug_log_win.h"
#include "base/handles_win.h"

#include <cstring>
#include <string>

namespace qorvic {

namespace {
// Long enough for another program's brief hold on the clipboard, short enough
// not to be noticed when the clipboard stays locked.
constexpr DWORD kClipboardPatienceMs = 1000;
} // namespace

bool PutPictureOnClipboard(HWND owner, const Picture& picture) {
    const std::string dib = picture.ToPackedDib();
    if (dib.empty())
        return false;
    ClipboardScope clipboard(owner, kClipboardPatienceMs);
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

} // namespace qorvic
