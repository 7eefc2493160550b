#include "capture/converter_run_win.h"

#include "base/debug_log_win.h"
#include "base/file_io_win.h"
#include "base/handles_win.h"
#include "base/message_pump_win.h"
#include "base/wait_cursor_win.h"
#include "capture/quick_save.h"

#include <windows.h>

#include <algorithm>

namespace qorvic {

void WaitForConverter(HANDLE process) {
    // The wait cursor tells the user why the frame does not answer; the
    // scope puts the previous cursor back however the wait ends.
    WaitCursorScope waitCursor;
    ProcessPendingMessages();
    ProcessPendingMessages();
    if (process)
        ::WaitForSingleObject(process, 5000);
    ProcessPendingMessages();
}

ConverterRun::Outcome ConverterRun::Convert(const std::wstring& target) {
    std::wstring commandLine = ConverterCommandLine(dataFolder_, target);
    // The line stays unquoted, as the converter expects it; naming the program
    // apart keeps Windows from trying "C:\Users\Ann.exe" for "C:\Users\Ann Lee\...".
    const std::wstring converter = dataFolder_ + L"\\i__view32.exe";
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
        return Outcome::Failed;
    }
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    WaitForConverter(process.get());
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(process.get(), &exitCode) || exitCode == STILL_ACTIVE) {
        DebugLog(L"the converter is still running after the wait; " + target + L" may follow");
        unfinishedTargets_.push_back(target);
        return Outcome::StillRunning; // it may still finish; the program goes on
    }
    if (exitCode != 0) {
        DebugLog(L"the converter ended with code " + std::to_wstring(exitCode) + L" for " + target);
        return Outcome::Failed;
    }
    if (!PathExists(target)) {
        DebugLog(L"the converter ended well but wrote no " + target);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

bool ConverterRun::StillRunningFor(const std::wstring& target) const {
    return std::find(unfinishedTargets_.begin(), unfinishedTargets_.end(), target) !=
           unfinishedTargets_.end();
}

} // namespace qorvic
