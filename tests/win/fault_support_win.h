// Pieces the fault tests share: a frame on fresh folders that records its
// messages, and the conditions a wrapper script prepares outside Wine.
#pragma once

#include "base/file_io_win.h"
#include "mainwindow/form1_win.h"

#include "test_support_win.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qorvic::test {

// A value the wrapper script set for this run, or empty when the test runs
// outside it (it then skips, because the condition cannot be made from inside Wine).
inline std::wstring FaultSetting(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, value, 1024);
    if (n == 0 || n >= 1024)
        return {};
    std::string narrow(value, value + n);
    return WidePath(narrow.c_str());
}

// The frame on the given folders, its messages collected instead of shown.
struct RecordingFrame {
    std::unique_ptr<Form1> form;
    std::vector<std::wstring> messages;

    bool Start(const std::wstring& appData, const std::wstring& desktop) {
        Form1::Options options;
        options.homePageUrl = L""; // no update check
        options.appDataFolder = appData;
        options.desktopFolder = desktop;
        form = std::make_unique<Form1>(options);
        form->onEnd = nullptr;
        form->showMessage = [this](const std::wstring& text) { messages.push_back(text); };
        return form->Load();
    }
    // True when exactly one message was shown and it names `file`.
    bool ToldOnce(const std::wstring& file) const {
        return messages.size() == 1 && messages[0].find(file) != std::wstring::npos;
    }
};

// The names in a folder (no "." and ".."), hidden ones included.
inline std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

} // namespace qorvic::test
