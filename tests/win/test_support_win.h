// Small helpers the in-process Windows tests share.
#pragma once

#include <windows.h>

#include <string>

namespace qorvic::test {

// Handles every message pending for this thread.
inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// A new, empty folder under the temporary folder, with a trailing "\". The
// name holds a space, so every path built from it exercises unquoted spaces.
inline std::wstring FreshFolder(const std::wstring& name) {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"qorvic " + name + L" " + std::to_wstring(::GetCurrentProcessId()) +
        L"_" + std::to_wstring(::GetTickCount64()) + L"_" + std::to_wstring(counter++);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

// A path the build hands over: Unix paths map to Wine's Z: drive.
inline std::wstring WidePath(const char* path) {
    std::wstring wide(path, path + std::char_traits<char>::length(path));
    if (!wide.empty() && wide[0] == L'/') {
        for (wchar_t& c : wide)
            if (c == L'/')
                c = L'\\';
        wide = L"Z:" + wide;
    }
    return wide;
}

} // namespace qorvic::test
