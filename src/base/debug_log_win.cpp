#include "base/debug_log_win.h"

#include <atomic>

namespace qorvic {

namespace {

void ToDebugger(const std::wstring& line) {
    ::OutputDebugStringW(line.c_str());
}

std::atomic<DebugLogSink> sink{&ToDebugger};

// The system's text for `code`, on one line, or empty when it has none.
std::wstring SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n')
            c = L' ';
    }
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text;
}

} // namespace

void DebugLog(std::wstring_view what) {
    std::wstring line = L"Qorvic: ";
    line.append(what);
    line += L'\n';
    sink.load()(line);
}

void DebugLogError(std::wstring_view what, DWORD code) {
    std::wstring line(what);
    line += L": error " + std::to_wstring(code);
    if (const std::wstring text = SystemText(code); !text.empty())
        line += L" (" + text + L")";
    DebugLog(line);
}

void DebugLogLastError(std::wstring_view what) {
    DebugLogError(what, ::GetLastError());
}

DebugLogSink SetDebugLogSink(DebugLogSink replacement) {
    return sink.exchange(replacement ? replacement : &ToDebugger);
}

} // namespace qorvic
