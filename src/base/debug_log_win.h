// One line for a debugger at every failure the program turns into a quiet
// fallback or a short message, so "nothing happened" can be traced to its cause.
// Lines go through OutputDebugStringW, prefixed "Qorvic: ".
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qorvic {

void DebugLog(std::wstring_view what);

// `what`, then GetLastError's code and its system text.
void DebugLogLastError(std::wstring_view what);

// `what`, then `code` (a Win32 error or HRESULT) and its system text when it has one.
void DebugLogError(std::wstring_view what, DWORD code);

// Where the finished lines go (OutputDebugStringW unless replaced); returns the
// previous sink. For tests that want to read the lines.
using DebugLogSink = void (*)(const std::wstring& line);
DebugLogSink SetDebugLogSink(DebugLogSink sink);

} // namespace qorvic
