#include "languages/language_list.h"

#include <algorithm>

namespace qorvic {

namespace {

constexpr std::wstring_view kProductName = L"Qorvic";
constexpr std::wstring_view kEnglish = L"English";

// Upper case for the letters language file names can carry: ASCII, Latin-1,
// Latin Extended-A (pairs), Greek and Cyrillic. Fixed here rather than taken
// from the C library's locale, so every platform sorts alike.
wchar_t FoldUpper(wchar_t c) {
    if (c >= L'a' && c <= L'z')
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<wchar_t>(c - 0x20);
    if (c == 0xFF)
        return static_cast<wchar_t>(0x178);
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        // Latin Extended-A pairs upper/lower, odd code points being lower case,
        // except for the run 0x139..0x148 and 0x179..0x17E where even ones are.
        const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool lower = shifted ? (c % 2 == 0) : (c % 2 == 1);
        return lower ? static_cast<wchar_t>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<wchar_t>(c - 0x50);
    return c;
}

} // namespace

bool LessOrdinalIgnoreCase(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t ua = FoldUpper(a[i]);
        const wchar_t ub = FoldUpper(b[i]);
        if (ua != ub)
            return ua < ub;
    }
    return a.size() < b.size();
}

LanguageNameCut CutLanguageName(std::wstring_view fileName) {
    if (fileName.substr(0, kProductName.size()) != kProductName)
        return {};
    const std::size_t nameStart = kProductName.size() + 1; // behind the separator
    const std::size_t dot = fileName.find(L'.');
    if (dot == std::wstring_view::npos || dot < nameStart)
        return {};
    return {true, std::wstring(fileName.substr(nameStart, dot - nameStart))};
}

std::vector<std::wstring> LanguageListFromFileNames(std::vector<std::wstring> fileNames) {
    // Ties (names equal but for case) fall back to plain ordinal order, so the
    // result is the same whatever order the names came in.
    std::sort(fileNames.begin(), fileNames.end(), [](const auto& a, const auto& b) {
        if (LessOrdinalIgnoreCase(a, b))
            return true;
        if (LessOrdinalIgnoreCase(b, a))
            return false;
        return a < b;
    });
    std::vector<std::wstring> list;
    for (const std::wstring& fileName : fileNames) {
        LanguageNameCut cut = CutLanguageName(fileName);
        // A row without a name would be a blank row that loads nothing.
        if (cut.isLanguageFile && !cut.name.empty())
            list.push_back(std::move(cut.name));
    }
    // English leads, whether or not its file is there: its texts are built in.
    const auto english = std::find(list.begin(), list.end(), kEnglish);
    if (english != list.end())
        list.erase(english);
    list.insert(list.begin(), std::wstring(kEnglish));
    return list;
}

std::wstring ConvertLanguageNumber(std::wstring language) {
    if (language == L"0")
        return L"English";
    return language;
}

} // namespace qorvic
