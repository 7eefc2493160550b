#include "capture/save_as_win.h"

#include "base/debug_log_win.h"
#include "base/file_io_win.h"
#include "capture/save_dialog.h"

#include <commdlg.h>

namespace qorvic {

namespace {

// The question the dialog itself would ask, but for the path that will really be
// written: the extension is added after the dialog closes. "No" is the default.
bool MayReplace(HWND owner, const std::wstring& path) {
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    const std::wstring text = name + L" already exists.\nDo you want to replace it?";
    return ::MessageBoxW(owner, text.c_str(), L"Save File - Qorvic",
                         MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

} // namespace

std::wstring SaveAs::AskPath(HWND owner, const std::wstring& defaultName,
                             const std::wstring& initialDir) {
    const std::wstring filter = SaveDialogFilter();
    std::wstring name = defaultName;
    std::wstring folder = initialDir;
    for (;;) {
        std::wstring file = name;
        file.resize(std::max<std::size_t>(file.size() + 1, 1024), L'\0');
        OPENFILENAMEW info{};
        info.lStructSize = sizeof info;
        info.hwndOwner = owner;
        info.hInstance = ::GetModuleHandleW(nullptr);
        info.lpstrFilter = filter.c_str();
        info.nFilterIndex = filterIndex_;
        info.lpstrFile = file.data();
        info.nMaxFile = static_cast<DWORD>(file.size());
        info.lpstrInitialDir = folder.c_str();
        info.lpstrTitle = L"Save File - Qorvic";
        // No default extension and no question from the dialog: the filter's
        // extension is added below by the program's own rule, and the question
        // is asked for the resulting path.
        info.Flags = OFN_HIDEREADONLY;
        if (!::GetSaveFileNameW(&info)) {
            if (const DWORD error = ::CommDlgExtendedError())
                DebugLogError(L"the save dialog failed", error);
            return L"";
        }
        filterIndex_ = info.nFilterIndex;
        const std::wstring typed(file.c_str());
        const std::wstring path = ApplyFilterExtension(typed, info.nFilterIndex);
        if (!PathExists(path) || FolderExists(path) || MayReplace(owner, path))
            return path;
        // "No": back to the dialog, in the same folder with the same name.
        const std::size_t slash = typed.find_last_of(L"\\/");
        folder = slash == std::wstring::npos ? folder : typed.substr(0, slash + 1);
        name = slash == std::wstring::npos ? typed : typed.substr(slash + 1);
    }
}

void SaveAs::Run(HWND owner, const Picture& picture, PictureWriter& writer) {
    if (picture.Empty())
        return;
    const std::wstring path = AskPath(owner, L"ScreenShot", L"c:\\");
    if (!path.empty())
        writer.Write(picture, path);
}

} // namespace qorvic
