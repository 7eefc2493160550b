// A converter that misbehaves on purpose, so the tests can see what the program
// does when the real one fails. The tests copy it into the data folder in place
// of i__view32.exe; the word in "stand_in_mode.txt" in its ini folder says how
// it misbehaves (built as a windowed and as a console program):
//   crash    dies of an access violation (exit code 0xC0000005)
//   hang     sleeps 10 s, then writes the target (proof that it was still running)
//   fail     exits with 1 and writes nothing
//   no_file  exits with 0 and writes nothing
#include <windows.h>

#include "base/file_io_win.h"
#include "command_line.h"

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t own[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    const auto args =
        conv::ParseConverterArguments(conv::StripProgramPath(::GetCommandLineW(), own));
    if (!args)
        return 2;
    const std::string mode =
        qorvic::ReadFileBytes(args->ini + L"\\stand_in_mode.txt", 64).value_or("");

    if (mode.rfind("crash", 0) == 0) {
        // No debugger and no error box may hold the dead process: it must end
        // with the exception's code, as it does where crash reporting is off.
        ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
        ::SetUnhandledExceptionFilter(
            [](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 3;
    }
    if (mode.rfind("hang", 0) == 0) {
        ::Sleep(10000);
        qorvic::WriteFileAtomically(args->target, "late");
        return 0;
    }
    if (mode.rfind("no_file", 0) == 0)
        return 0;
    return 1;
}

// The console build starts here.
int wmain(int, wchar_t**) {
    return wWinMain(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
}
