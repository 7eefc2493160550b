// The converter run: i__view32.exe turns the temporary bitmap in the data
// folder into any other format, started with its fixed command line.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qorvic {

class ConverterRun {
public:
    explicit ConverterRun(std::wstring dataFolder) : dataFolder_(std::move(dataFolder)) {}

    // Starts the converter for <dataFolder>\Temp.bmp and waits at most 5 s for it.
    enum class Outcome { Done, Failed, StillRunning };
    Outcome Convert(const std::wstring& target);

    // A target whose converter was still running after the wait: a later save
    // treats it as taken, or it would pick the same name and be replaced.
    bool StillRunningFor(const std::wstring& target) const;

private:
    std::wstring dataFolder_;
    std::vector<std::wstring> unfinishedTargets_;
};

// Waits at most 5 s for `process` with the wait cursor up, handling the
// messages already queued before and after.
void WaitForConverter(HANDLE process);

} // namespace qorvic
