// Starts programs in turn, each several times, and measures each start from
// CreateProcess: to the program's first wait for input (its window shown, painted
// and whatever it does before its message loop), and, when the program writes
// its performance-counter readings at entry and after its first paint to the
// standard output given to it, to its entry and to the end of its first paint;
// then the working set once it has idled. The first program is the reference;
// every run of the others is set against the reference's run of the same round.
// Usage: startup_bench ROUNDS IDLE_MS NAME=EXE [NAME=EXE ...]
#include "base/handles_win.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using qorvic::KernelHandle;

namespace {

struct Program {
    std::wstring name, exe;
};

struct Run {
    double startToIdleMs = -1, startToEntryMs = -1, entryToPaintMs = -1, startToPaintMs = -1;
    double workingSetMb = -1;
};

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t;
}

double Ms(LONGLONG ticks) {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(f.QuadPart);
}

BOOL CALLBACK CloseWindowsOf(HWND hwnd, LPARAM pid) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == static_cast<DWORD>(pid) && ::IsWindowVisible(hwnd))
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

long long Field(const std::string& text, const char* key) {
    const std::size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + std::strlen(key));
}

Run Measure(const Program& program, DWORD idleMs) {
    Run run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return run;
    KernelHandle reader(readEnd), writer(writeEnd);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    si.hStdOutput = si.hStdError = writeEnd;
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    PROCESS_INFORMATION pi{};
    const LARGE_INTEGER start = Now();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (%lu)\n", program.exe.c_str(), ::GetLastError());
        return run;
    }
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    if (::WaitForInputIdle(pi.hProcess, 30000) == 0)
        run.startToIdleMs = Ms(Now().QuadPart - start.QuadPart);
    writer.reset(); // the pipe ends when the program does

    ::Sleep(idleMs);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    // Wine reads the working set from /proc/PID/status (VmRSS) of the process.
    if (::GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory))
        run.workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1 << 20);

    ::EnumWindows(CloseWindowsOf, static_cast<LPARAM>(pi.dwProcessId));
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"%ls did not end on WM_CLOSE\n", program.name.c_str());
        ::TerminateProcess(pi.hProcess, 1);
    }
    ::Sleep(500); // the process's last Unix-side teardown, off the next start
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    const long long entry = Field(output, "qpc_entry "), painted = Field(output, "qpc_painted ");
    if (entry > 0 && painted > entry) {
        run.startToEntryMs = Ms(entry - start.QuadPart);
        run.entryToPaintMs = Ms(painted - entry);
        run.startToPaintMs = Ms(painted - start.QuadPart);
    }
    return run;
}

double Best(const std::vector<Run>& runs, double Run::*field) {
    double best = -1;
    for (const Run& r : runs)
        if (r.*field >= 0 && (best < 0 || r.*field < best))
            best = r.*field;
    return best;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: startup_bench ROUNDS IDLE_MS NAME=EXE [NAME=EXE...]\n");
        return 2;
    }
    const int rounds = std::max(1, _wtoi(argv[1]));
    const DWORD idleMs = static_cast<DWORD>(std::max(0, _wtoi(argv[2])));
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const std::size_t eq = arg.find(L'=');
        programs.push_back({arg.substr(0, eq), arg.substr(eq + 1)});
    }
    std::vector<std::vector<Run>> runs(programs.size());
    // Wine's desktop process ends a few seconds after the last window of the
    // session; this hidden one keeps it, so no start pays for the desktop's.
    const HWND keeper = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                          nullptr, nullptr);
    for (const Program& program : programs)
        Measure(program, 0); // warms the file cache; not counted
    std::printf("%-5s %-8s %8s %8s %8s %6s %8s %6s\n", "round", "program", "to entry", "to paint",
                "start to", "ratio", "start to", "ratio");
    std::printf("%-5s %-8s %8s %8s %8s %6s %8s\n", "", "", "ms", "ms", "paint ms", "", "idle ms");
    const auto ratio = [](double value, double ref) {
        return value > 0 && ref > 0 ? value / ref : -1;
    };
    for (int round = 1; round <= rounds; ++round) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            // Closed soon after: a long idle lets the machine page out what the next start needs.
            const Run r = Measure(programs[p], 250);
            runs[p].push_back(r);
            const Run& ref = runs[0].back();
            std::printf("%-5d %-8ls %8.1f %8.1f %8.1f %6.2f %8.1f %6.2f\n", round,
                        programs[p].name.c_str(), r.startToEntryMs, r.entryToPaintMs,
                        r.startToPaintMs, ratio(r.startToPaintMs, ref.startToPaintMs),
                        r.startToIdleMs, ratio(r.startToIdleMs, ref.startToIdleMs));
            std::fflush(stdout);
        }
    }
    // The working set once more per program, after the idle time asked for.
    std::vector<double> workingSet;
    for (const Program& program : programs)
        workingSet.push_back(Measure(program, idleMs).workingSetMb);
    std::printf("\nbest of %d; working set after %lu ms idle\n", rounds,
                static_cast<unsigned long>(idleMs));
    std::printf("%-8s %8s %8s %8s %6s %8s %6s %6s %8s\n", "program", "to entry", "to paint",
                "start to", "ratio", "start to", "ratio", "WS MB", "WS - ref");
    const Run refBest{Best(runs[0], &Run::startToIdleMs), 0, 0,
                      Best(runs[0], &Run::startToPaintMs)};
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const double paint = Best(runs[p], &Run::startToPaintMs);
        const double idle = Best(runs[p], &Run::startToIdleMs);
        std::printf("%-8ls %8.1f %8.1f %8.1f %6.2f %8.1f %6.2f %6.1f %8.1f\n",
                    programs[p].name.c_str(), Best(runs[p], &Run::startToEntryMs),
                    Best(runs[p], &Run::entryToPaintMs), paint,
                    ratio(paint, refBest.startToPaintMs), idle, ratio(idle, refBest.startToIdleMs),
                    workingSet[p], workingSet[p] - workingSet[0]);
    }
    ::DestroyWindow(keeper);
    return 0;
}
