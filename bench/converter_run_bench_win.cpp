// Times the converter the way the program starts it: ConverterRun on a data
// folder that holds Temp.bmp and i__view32.exe, from CreateProcess to the
// converter's exit. Starting a Wine process from a Linux shell, which no save
// of the program pays, stays outside the figure.
//
//   converter_run_bench.exe DATA_FOLDER TARGET
//
// Prints the seconds; exits 1 when the conversion did not finish.
#include "capture/converter_run_win.h"

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const auto outcome = qorvic::ConverterRun(argv[1]).Convert(argv[2]);
    ::QueryPerformanceCounter(&end);
    std::printf("%.3f\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return outcome == qorvic::ConverterRun::Outcome::Done ? 0 : 1;
}
