// The interface texts of the current language and the list they were chosen from.
#pragma once

#include <string>
#include <vector>

namespace qorvic {

// Texts that come from the current language file; empty until the first load reaches them.
struct LanguageTexts {
    std::vector<std::wstring> LanguageMenu; // the language submenu's rows, one per list entry
    std::wstring TxtHandOff;
    std::wstring TxtCopy;
    std::wstring TxtSaveAs;
    std::wstring TxtFormats; // ends with the separator marker "="
    std::wstring TxtScaling; // ends with "="
    std::wstring TxtColour;  // ends with "="
    std::wstring TxtLanguages;
    std::wstring TxtNewVersion; // ends with one space
    std::wstring TxtEquals;
};

// Which language is current, the ones there are, and the texts in use.
struct LanguageState {
    std::wstring CurrentLanguage = L"English";
    std::vector<std::wstring> languageList; // "English" first
    LanguageTexts texts;
};

} // namespace qorvic
