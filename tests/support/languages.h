// The shipped languages, the English texts and language files built in
// memory, for every test that loads or shows a language.
#pragma once

#include "languages/language_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace qorvic::testing {

// The shipped languages in the order the language menu lists them.
inline const std::vector<std::wstring> kEightLanguages = {
    L"English", L"Dutch", L"French", L"German", L"Japanese", L"Polish", L"Russian", L"Spanish"};

// The program's built-in English texts, markers as the loader stores them; the
// language file test holds them to the shipped English file.
inline LanguageTexts EnglishMenuTexts() {
    return BuiltInLanguageTexts({});
}

// Every text besides the language menu's rows, in the language file's order.
inline std::vector<std::wstring> NonMenuTexts(const LanguageTexts& t) {
    return {t.TxtHandOff, t.TxtCopy,      t.TxtSaveAs,     t.TxtFormats, t.TxtScaling,
            t.TxtColour,  t.TxtLanguages, t.TxtNewVersion, t.TxtEquals};
}

// Bytes to characters one to one (Latin-1): enough to decode the ASCII files
// built here, and every byte value reaches a parser as a character of its own.
inline std::wstring Latin1(std::string_view bytes) {
    std::wstring text(bytes.size(), L'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return text;
}

inline std::string Narrow(std::wstring_view ascii) {
    return std::string(ascii.begin(), ascii.end());
}

// A language file of version line `head` and `entries` entries; entry i's text
// is text(i). Ends with a line end unless `cutLastLineEnd`.
template <class TextOf>
std::string LanguageFile(const std::string& head, int entries, TextOf text,
                         const std::string& lineEnd = "\r\n", bool cutLastLineEnd = false) {
    std::string file = head + lineEnd;
    for (int i = 1; i <= entries; ++i)
        file += "Entry " + std::to_string(i) + "= " + text(i) + lineEnd;
    if (cutLastLineEnd)
        file.resize(file.size() - lineEnd.size());
    return file;
}

} // namespace qorvic::testing
