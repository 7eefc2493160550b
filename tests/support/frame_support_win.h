// The main window as most tests need it: on fresh folders of its own, its
// messages collected instead of shown, the converter and the shipped languages
// put into its data folder on request; and the conditions a wrapper script
// prepares outside Wine.
#pragma once

#include "base/file_io_win.h"
#include "capture/quick_save.h"
#include "frame/frame_window_win.h"
#include "menus/menu_model.h"

#include "languages.h"
#include "test_support_win.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qorvic::test {

struct TestFrame {
    std::wstring appData = FreshFolder(L"appdata");
    std::wstring desktop = FreshFolder(L"desktop");
    FrameWindow::Options options;
    std::unique_ptr<FrameWindow> form;
    std::vector<std::wstring> messages;
    bool realMessageBoxes = false; // true: messages go to the program's own message box
    std::function<void(FrameWindow&)> beforeLoad;

    TestFrame() {
        options.homePageUrl = L"";     // no update check
        options.scalePanelDelayMs = 0; // the panel there when Load returns
    }
    bool Start(int showCommand = SW_SHOWNORMAL) {
        options.appDataFolder = appData;
        options.desktopFolder = desktop;
        options.onEnd = [] {};
        if (!realMessageBoxes)
            options.showMessage = [this](const std::wstring& text) { messages.push_back(text); };
        form = std::make_unique<FrameWindow>(options);
        if (beforeLoad)
            beforeLoad(*form);
        return form->Load(showCommand);
    }
    bool Start(const std::wstring& appDataFolder, const std::wstring& desktopFolder) {
        appData = appDataFolder;
        desktop = desktopFolder;
        return Start();
    }
    FrameWindow* operator->() const { return form.get(); }
    const std::wstring& AppData() const { return appData; }
    const std::wstring& Desktop() const { return desktop; }
    FrameWindow& operator*() const { return *form; }
    // True when exactly one message was shown and it names `file`.
    bool ToldOnce(const std::wstring& file) const {
        return messages.size() == 1 && messages[0].find(file) != std::wstring::npos;
    }
    // Puts `exe` (the real converter unless told otherwise) where the program looks for it.
    bool InstallConverter(const char* exe = QORVIC_CONVERTER_EXE) const {
        return ::CopyFileW(WidePath(exe).c_str(),
                           (form->State().DataFolder + L"\\i__view32.exe").c_str(), FALSE);
    }
};

// The commands as the menus run them.
inline void Choose(FrameWindow& frame, menus::OptionsRow row) {
    frame.OnMenuRowChosen(menus::kOptionsMenu, static_cast<std::size_t>(row));
}
inline void QuickSave(FrameWindow& frame, ImageFormat format) {
    frame.OnMenuRowChosen(menus::kFormatMenu, static_cast<std::size_t>(format));
}
inline const Picture& Output(FrameWindow& frame) {
    return frame.commands().capture.Output();
}

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

using qorvic::testing::kEightLanguages; // the shipped languages, in the menu's order

// The repository's lang folder, found from this file's place.
inline std::filesystem::path ShippedLanguageFolder() {
    return std::filesystem::path(WidePath(__FILE__)).parent_path().parent_path().parent_path() /
           "lang";
}

// Copies the shipped language files, all but `except`, to "<appData>Qorvic\Languages".
inline void InstallLanguages(const std::wstring& appData, const std::wstring& except = L"") {
    namespace fs = std::filesystem;
    const fs::path languages = fs::path(appData) / "Qorvic" / "Languages";
    fs::create_directories(languages);
    for (const std::wstring& language : kEightLanguages)
        if (language != except) {
            const std::wstring name = L"Qorvic_" + language + L".Language";
            fs::copy_file(ShippedLanguageFolder() / name, languages / name,
                          fs::copy_options::overwrite_existing);
        }
}

// The 19 entry texts of a translator's UTF-8 source, read without the program's loader.
inline std::vector<std::wstring> SourceEntries(const std::wstring& language) {
    const std::string bytes =
        ReadFileBytes((ShippedLanguageFolder() / "src" / (language + L".txt")).wstring())
            .value_or("");
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                        static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                          static_cast<int>(bytes.size()), text.data(), n);
    std::vector<std::wstring> entries;
    for (std::size_t start = text.find(L'\n') + 1; start > 0 && start < text.size();) {
        const std::size_t end = text.find(L'\n', start);
        const std::wstring line = text.substr(start, end - start);
        entries.push_back(line.substr(line.find(L"= ") + 2));
        start = end + 1;
    }
    return entries;
}

} // namespace qorvic::test
