#include "languages/languages_win.h"

#include "base/handles_win.h"
#include "languages/language_file.h"
#include "languages/language_list.h"

#include <windows.h>

#include <climits>

namespace qorvic {

namespace {

// Language files are a few hundred bytes; anything far larger is not one.
constexpr LONGLONG kMaxLanguageFileBytes = 1 << 20;

std::wstring LanguageFolder(const AppState& state) {
    return state.DataFolder + L"\\Languages";
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
    if (!file || file.get() == INVALID_HANDLE_VALUE)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxLanguageFileBytes)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                        &got, nullptr))
            return std::nullopt;
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

void BuildLanguageList(AppState& state) {
    state.languageList = LanguageListFromFileNames(ListOrdinaryFiles(LanguageFolder(state)));
    state.texts.LanguageMenu = state.languageList;
    state.CurrentLanguage = ConvertLanguageNumber(state.CurrentLanguage);
}

LanguageApply LoadLanguage(AppState& state) {
    const std::wstring fileName = LanguageFileName(state.CurrentLanguage);
    std::optional<std::string> bytes;
    if (!fileName.empty())
        bytes = ReadWholeFile(LanguageFolder(state) + L"\\" + fileName);

    LanguageLoadResult result =
        LoadLanguageTexts(state.texts, state.CurrentLanguage, bytes, &DecodeLanguageBytes,
                          state.VersionTag, state.languageList);
    state.texts = std::move(result.texts);

    LanguageApply apply;
    apply.applyOptions = result.optionsCaption.has_value();
    apply.applyScreen = result.screenCaption.has_value();
    apply.optionsCaption = result.optionsCaption.value_or(L"");
    apply.screenCaption = result.screenCaption.value_or(L"");
    apply.failed = result.stop != LanguageLoadStop::Complete;
    if (apply.failed) {
        // A name outside the eight has no failure texts of its own; the user
        // still gets told, in English.
        apply.failureText = result.selectedFailureText.empty()
                                ? FailureTextsFor(L"English").notFound
                                : result.selectedFailureText;
    }
    return apply;
}

LanguageApply SelectLanguage(AppState& state, std::int16_t index, const std::wstring& caption) {
    (void)caption;
    if (index < 0 || static_cast<std::size_t>(index) >= state.languageList.size())
        return {};
    state.CurrentLanguage = state.languageList[static_cast<std::size_t>(index)];
    return LoadLanguage(state);
}

} // namespace qorvic
