// Language names and texts shared by the menu and language tests.
#pragma once

#include "languages/language_texts.h"

#include <string>
#include <vector>

namespace qorvic::testing {

// The shipped languages in the order the language menu lists them.
inline const std::vector<std::wstring> kEightLanguages = {
    L"English", L"Dutch", L"French", L"German", L"Japanese", L"Polish", L"Russian", L"Spanish"};

// The English texts besides the language names, markers as the loader stores
// them: the shipped English file's, and the program's own before any load.
inline LanguageTexts EnglishMenuTexts() {
    LanguageTexts t;
    t.TxtHandOff = L"Send to Norvane";
    t.TxtCopy = L"Copy to clipboard";
    t.TxtSaveAs = L"Save as...";
    t.TxtFormats = L"Save to desktop as>=";
    t.TxtScaling = L"Output size=";
    t.TxtColour = L"Frame colour...=";
    t.TxtLanguages = L"Language>";
    t.TxtNewVersion = L"A new version is available: ";
    t.TxtEquals = L"100% equals the original size";
    return t;
}

// Every text besides the language menu's rows, in the language file's order.
inline std::vector<std::wstring> NonMenuTexts(const LanguageTexts& t) {
    return {t.TxtHandOff, t.TxtCopy,      t.TxtSaveAs,     t.TxtFormats, t.TxtScaling,
            t.TxtColour,  t.TxtLanguages, t.TxtNewVersion, t.TxtEquals};
}

} // namespace qorvic::testing
