// The language subsystem as the main window calls it: listing the language
// folder, reading and decoding a language file, and the loads of
// language_choice.h on the data folder's Languages folder.
#pragma once

#include "languages/language_choice.h"
#include "languages/language_texts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorvic {

// Names of the ordinary files (no folders, hidden or system files) in `folder`.
std::vector<std::wstring> ListOrdinaryFiles(const std::wstring& folder);

// The whole content of a file; empty when it cannot be opened or read (a folder
// included) or is implausibly large for a language file.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// Decodes with MultiByteToWideChar; code page 0 is the system's ANSI code page,
// which is also used when the asked one is not installed.
std::wstring DecodeLanguageBytes(std::string_view bytes, unsigned codePage);

// Start-up: the language list from <dataFolder>\Languages, with the built-in
// English texts until a file is loaded (see StartLanguages).
void BuildLanguageList(LanguageState& state, const std::wstring& dataFolder);

// Loads the texts of CurrentLanguage from <dataFolder>\Languages into `state`.
LanguageApply LoadLanguage(LanguageState& state, const std::wstring& dataFolder);

// The language submenu's pick: makes list entry `index` current and loads it.
// An index outside the list changes nothing.
LanguageApply SelectLanguage(LanguageState& state, const std::wstring& dataFolder,
                             std::int16_t index);

} // namespace qorvic
