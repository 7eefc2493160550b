// The language list: which languages the language folder offers, sorted by
// name, with English at the head.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorvic {

// Ordinal comparison after folding letters to upper case, so the list does not
// depend on the order a file system lists a folder in.
bool LessOrdinalIgnoreCase(std::wstring_view a, std::wstring_view b);

// The language name in a file name such as "Qorvic_English.Language": the text
// from two characters behind "Qorvic" up to the first ".". Not a language file:
// another prefix or letter case, or no "." behind the separator. A "." right
// behind the separator gives an empty language name, which still counts.
struct LanguageNameCut {
    bool isLanguageFile = false;
    std::wstring name;
};
LanguageNameCut CutLanguageName(std::wstring_view fileName);

// lstLanguages from the folder's file names (any order): the names sorted, cut
// (empty names left out) and "English" moved to the head, or put there when no
// file has it. With the eight shipped files: English, Dutch, French, German,
// Japanese, Polish, Russian, Spanish.
std::vector<std::wstring> LanguageListFromFileNames(std::vector<std::wstring> fileNames);

// The old one-character language number: only "0" (English) is still honoured;
// the settings reader already turns positive numbers into "English".
std::wstring ConvertLanguageNumber(std::wstring language);

} // namespace qorvic
