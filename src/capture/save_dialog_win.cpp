// Save through the save dialog, as members of Form1.
#include "capture/save_dialog.h"
#include "mainwindow/form1_win.h"

#include <commdlg.h>

namespace qorvic {

std::wstring Form1::ShowSaveDialog(const std::wstring& defaultName,
                                   const std::wstring& initialDir) {
    const std::wstring filter = SaveDialogFilter();
    std::wstring file = defaultName;
    file.resize(std::max<std::size_t>(file.size() + 1, 1024), L'\0');
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = hwnd();
    info.hInstance = ::GetModuleHandleW(nullptr);
    info.lpstrFilter = filter.c_str();
    info.nFilterIndex = saveFilterIndex_;
    info.lpstrFile = file.data();
    info.nMaxFile = static_cast<DWORD>(file.size());
    info.lpstrInitialDir = initialDir.c_str();
    info.lpstrTitle = L"Save File - Qorvic";
    // Replacing an existing file is asked first; no default extension is set, the
    // filter's extension is added below by the program's own rule.
    info.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!::GetSaveFileNameW(&info))
        return L"";
    saveFilterIndex_ = info.nFilterIndex;
    const std::wstring path(file.c_str());
    return ApplyFilterExtension(path, info.nFilterIndex);
}

void Form1::SaveCaptureAs() {
    CaptureFrame();
    if (picDest.Empty())
        return;
    const std::wstring path = ShowSaveDialog(L"ScreenShot", L"c:\\");
    if (path.empty())
        return;
    DeliverPicture(path);
}

} // namespace qorvic
