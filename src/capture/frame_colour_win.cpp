// The frame colour chosen in the colour dialog. Members of FrameWindow.
#include "frame/frame_window_win.h"

#include "base/debug_log_win.h"

#include <commdlg.h>

#include <cstring>

namespace qorvic {

std::int32_t FrameWindow::PickColour() {
    COLORREF custom[16];
    std::memcpy(custom, CustomColours.data(), sizeof custom);
    CHOOSECOLORW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = hwnd();
    info.hInstance = reinterpret_cast<HWND>(::GetModuleHandleW(nullptr));
    info.lpCustColors = custom;
    info.Flags = 0; // short form, no colour preselected
    if (!::ChooseColorW(&info)) {
        if (const DWORD error = ::CommDlgExtendedError())
            DebugLogError(L"the colour dialog failed", error);
        return -1;
    }
    // Custom colours defined in the dialog are offered again within this run.
    std::memcpy(CustomColours.data(), custom, sizeof custom);
    return static_cast<std::int32_t>(info.rgbResult);
}

void FrameWindow::ChooseFrameColour() {
    const std::int32_t colour = PickColour();
    if (colour != -1)
        SetBackColour(colour);
}

} // namespace qorvic
