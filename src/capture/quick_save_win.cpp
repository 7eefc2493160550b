// Quick save on the desktop, the temporary bitmap and the converter run, as
// members of FrameWindow.
#include "base/file_io_win.h"
#include "base/debug_log_win.h"
#include "base/message_pump_win.h"
#include "base/wait_cursor_win.h"
#include "bmp_writer.h"
#include "capture/quick_save.h"
#include "capture/save_dialog.h"
#include "frame/frame_window_win.h"

#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

namespace qorvic {

std::string FrameWindow::OutputPictureAsBmp() const {
    conv::Image image;
    image.width = outputPicture.Width();
    image.height = outputPicture.Height();
    const std::string rgb = outputPicture.ToRgb();
    image.rgb.assign(rgb.begin(), rgb.end());
    if (image.rgb.empty())
        return {};
    try {
        const std::vector<std::uint8_t> bmp = conv::EncodeBmp(image);
        return std::string(bmp.begin(), bmp.end());
    } catch (const std::length_error&) {
        return {};
    }
}

std::wstring FrameWindow::TempBitmap() const {
    return state_.DataFolder + L"\\Temp.bmp";
}

bool FrameWindow::WriteTempBitmap() {
    const std::string bmp = OutputPictureAsBmp();
    return !bmp.empty() && WriteFileAtomically(TempBitmap(), bmp);
}

void FrameWindow::WaitForEnd(HANDLE process) {
    // The wait cursor tells the user why the frame does not answer; the
    // scope puts the previous cursor back however the wait ends.
    WaitCursorScope waitCursor;
    ProcessPendingMessages();
    ProcessPendingMessages();
    if (process)
        ::WaitForSingleObject(process, 5000);
    ProcessPendingMessages();
}

FrameWindow::ConvertOutcome FrameWindow::ConvertTempBitmap(const std::wstring& target) {
    std::wstring commandLine = ConverterCommandLine(state_.DataFolder, target);
    // The line stays unquoted, as the converter expects it; naming the program
    // apart keeps Windows from trying "C:\Users\Ann.exe" for "C:\Users\Ann Lee\...".
    const std::wstring converter = state_.DataFolder + L"\\i__view32.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE; // minimised, the frame keeps the focus
    PROCESS_INFORMATION info{};
    // A console converter gets no console window: one that Wine leaves on the
    // screen over the frame, although minimised, takes every click on "Options"
    // for as long as the converter runs.
    if (!::CreateProcessW(converter.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
        DebugLogLastError(L"cannot start " + converter);
        return ConvertOutcome::Failed;
    }
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    WaitForEnd(process.get());
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(process.get(), &exitCode) || exitCode == STILL_ACTIVE) {
        DebugLog(L"the converter is still running after the wait; " + target + L" may follow");
        unfinishedTargets_.push_back(target);
        return ConvertOutcome::StillRunning; // it may still finish; the program goes on
    }
    if (exitCode != 0) {
        DebugLog(L"the converter ended with code " + std::to_wstring(exitCode) + L" for " + target);
        return ConvertOutcome::Failed;
    }
    if (!PathExists(target)) {
        DebugLog(L"the converter ended well but wrote no " + target);
        return ConvertOutcome::Failed;
    }
    return ConvertOutcome::Done;
}

void FrameWindow::TellSaveFailed(const std::wstring& target) {
    if (showMessage)
        showMessage(L"Qorvic could not write " + target);
}

void FrameWindow::DeliverPicture(const std::wstring& target) {
    if (IsBmpPath(target)) {
        const std::string bmp = OutputPictureAsBmp();
        if (bmp.empty() || !WriteFileAtomically(target, bmp))
            TellSaveFailed(target);
        return;
    }
    if (!WriteTempBitmap() || ConvertTempBitmap(target) == ConvertOutcome::Failed)
        TellSaveFailed(target);
}

void FrameWindow::QuickSave(ImageFormat format) {
    if (onCloseMenus)
        onCloseMenus();
    Capture();
    if (outputPicture.Empty())
        return; // an area of 4 pixels or less gives no picture and no file
    const std::wstring folder = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    const std::wstring target =
        NextFreeQuickSaveName(folder, FileExtension(format), [this](const std::wstring& name) {
            return PathExists(name) ||
                   std::find(unfinishedTargets_.begin(), unfinishedTargets_.end(), name) !=
                       unfinishedTargets_.end();
        });
    // Every quick save leaves the temporary bitmap behind, also for BMP.
    if (IsBmpPath(target))
        WriteTempBitmap();
    DeliverPicture(target);
}

} // namespace qorvic
