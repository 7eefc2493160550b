#include "languages/languages_win.h"

#include "base/debug_log_win.h"
#include "base/handles_win.h"
#include "languages/language_file.h"

#include <windows.h>

#include <climits>

namespace qorvic {

namespace {

// Language files are a few hundred bytes; anything far larger is not one.
constexpr LONGLONG kMaxLanguageFileBytes = 1 << 20;

LanguageFolder WinLanguageFolder(const std::wstring& dataFolder) {
    LanguageFolder folder;
    folder.path = dataFolder + L"\\Languages";
    folder.read = [path = folder.path](const std::wstring& fileName) {
        return ReadWholeFile(path + L"\\" + fileName);
    };
    folder.decode = &DecodeLanguageBytes;
    return folder;
}

} // namespace

std::vector<std::wstring> ListOrdinaryFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = folder + L"\\*.*";
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    const std::unique_ptr<void, decltype(&::FindClose)> owner(find, &::FindClose);
    constexpr DWORD kSkipped =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((data.dwFileAttributes & kSkipped) == 0)
            names.emplace_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    return names;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || file.get() == INVALID_HANDLE_VALUE) {
        DebugLogLastError(L"cannot open the language file " + path);
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxLanguageFileBytes) {
        DebugLog(L"the language file " + path + L" is too large or has no size");
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                        &got, nullptr)) {
            DebugLogLastError(L"cannot read the language file " + path);
            return std::nullopt;
        }
        if (got == 0)
            break; // shrank while we read: keep what is there
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

std::wstring DecodeLanguageBytes(std::string_view bytes, unsigned codePage) {
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    const int inSize = static_cast<int>(bytes.size());
    UINT cp = codePage == kSystemCodePage ? CP_ACP : codePage;
    int outSize = ::MultiByteToWideChar(cp, 0, bytes.data(), inSize, nullptr, 0);
    if (outSize <= 0 && cp != CP_ACP) {
        cp = CP_ACP;
        outSize = ::MultiByteToWideChar(cp, 0, bytes.data(), inSize, nullptr, 0);
    }
    if (outSize <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(outSize), L'\0');
    ::MultiByteToWideChar(cp, 0, bytes.data(), inSize, text.data(), outSize);
    return text;
}

void BuildLanguageList(LanguageState& state, const std::wstring& dataFolder) {
    StartLanguages(state, ListOrdinaryFiles(WinLanguageFolder(dataFolder).path));
}

LanguageApply LoadLanguage(LanguageState& state, const std::wstring& dataFolder) {
    return LoadLanguageFrom(state, WinLanguageFolder(dataFolder));
}

LanguageApply SelectLanguage(LanguageState& state, const std::wstring& dataFolder,
                             std::int16_t index) {
    return SelectLanguageFrom(state, index, WinLanguageFolder(dataFolder));
}

} // namespace qorvic
