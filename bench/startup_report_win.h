// What each program of the start-up bench prints for its launcher: the
// performance-counter readings at entry and once its window is painted, on the
// standard output the launcher gave it.
#pragma once

#include <windows.h>

#include <cstdio>

namespace bench {

inline void ReportStartup(const LARGE_INTEGER& entry, const LARGE_INTEGER& painted) {
    char line[96];
    const int n = std::snprintf(line, sizeof line, "qpc_entry %lld\nqpc_painted %lld\n",
                                entry.QuadPart, painted.QuadPart);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
}

} // namespace bench
