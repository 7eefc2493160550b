// Qorvic's entry point: the program takes no command line; everything starts in FrameWindow.
#include <windows.h>

#include <delayimp.h>

#include "base/debug_log_win.h"
#include "frame/application_win.h"

#include <string>

namespace {

// The DLLs that load on first use (see src/CMakeLists.txt) can still be
// missing or incomplete then. Linked normally, the system would have refused
// to start the program with a message naming the DLL; this says the same at
// the first use and ends the program, instead of an unexplained crash.
FARPROC WINAPI DelayLoadFailed(unsigned notify, PDelayLoadInfo info) {
    if (notify != dliFailLoadLib && notify != dliFailGetProc)
        return nullptr;
    const std::string dll = info->szDll ? info->szDll : "?";
    std::wstring what(dll.begin(), dll.end());
    if (notify == dliFailGetProc) {
        what += L" has no ";
        if (info->dlp.fImportByName) {
            const std::string name = info->dlp.szProcName;
            what.append(name.begin(), name.end());
        } else {
            what += L"entry " + std::to_wstring(info->dlp.dwOrdinal);
        }
    } else {
        what += L" could not be loaded";
    }
    qorvic::DebugLogError(what, info->dwLastError);
    const std::wstring text =
        L"Qorvic cannot go on: " + what + L" (error " + std::to_wstring(info->dwLastError) + L").";
    ::MessageBoxW(nullptr, text.c_str(), L"Qorvic", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ::ExitProcess(1);
}

} // namespace

PfnDliHook __pfnDliFailureHook2 = &DelayLoadFailed;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    return qorvic::RunApplication(showCommand);
}
