// The languages in the program's state: the list start-up builds, a load of the
// current language and a pick from the language submenu. The folder is reached
// through a reader, so every set of language files can be tried without one.
#pragma once

#include "languages/language_file.h"
#include "languages/language_texts.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qorvic {

// What the main window applies after a load.
struct LanguageApply {
    std::wstring optionsCaption; // caption for optionsLabel, when applyOptions
    std::wstring screenCaption;  // caption for wholeScreenBox, when applyScreen
    bool applyOptions = false;
    bool applyScreen = false;
    bool failed = false;      // the chosen file was missing, unreadable or broken
    std::wstring failureText; // a short message naming that file, for a pick from the menu
};

// The language folder as the loader needs it.
struct LanguageFolder {
    std::wstring path; // no trailing separator; named in failure messages
    // The bytes of the file of that name in the folder; empty when it cannot be read.
    std::function<std::optional<std::string>(const std::wstring& fileName)> read;
    LanguageDecoder decode;
};

// Start-up: the list from the folder's file names, the built-in English texts
// under the list's names as the floor for every load, and the old number "0"
// read as "English".
void StartLanguages(LanguageState& state, std::vector<std::wstring> fileNames);

// Loads the texts of CurrentLanguage into `state`.
LanguageApply LoadLanguageFrom(LanguageState& state, const LanguageFolder& folder);

// A pick of list entry `index`: makes it current and loads it. An index outside
// the list changes nothing.
LanguageApply SelectLanguageFrom(LanguageState& state, std::int16_t index,
                                 const LanguageFolder& folder);

} // namespace qorvic
