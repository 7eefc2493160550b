#include "frame/colour_dialog_win.h"

#include "base/debug_log_win.h"

#include <commdlg.h>

namespace qorvic {

std::optional<std::int32_t> ColourDialog::Pick(HWND owner) {
    std::array<COLORREF, 16> custom = customColours;
    CHOOSECOLORW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = owner;
    info.hInstance = reinterpret_cast<HWND>(::GetModuleHandleW(nullptr));
    info.lpCustColors = custom.data();
    info.Flags = 0; // short form, no colour preselected
    if (!::ChooseColorW(&info)) {
        if (const DWORD error = ::CommDlgExtendedError())
            DebugLogError(L"the colour dialog failed", error);
        return std::nullopt;
    }
    // Custom colours defined in the dialog are offered again within this run.
    customColours = custom;
    return static_cast<std::int32_t>(info.rgbResult);
}

} // namespace qorvic
