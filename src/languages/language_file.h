// Language files: a version line and 19 entry lines, split at carriage returns
// only. Everything here works on text already decoded; reading the bytes and
// decoding them is the caller's business (see languages_win.h).
#pragma once

#include "languages/language_texts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorvic {

// Splits at every carriage return. A line feed after it starts the next line,
// where it falls into the ignored label of an entry. Empty text has no lines.
std::vector<std::wstring> SplitLangLines(std::wstring_view text);

// The text of one entry line: everything from the second character after the
// first "=" to the end; without "=" everything from the second character on.
std::wstring LangEntryText(std::wstring_view line);

// The lines of the file last read and the number of the entry last taken.
class LangReader {
public:
    LangReader() = default;
    explicit LangReader(std::vector<std::wstring> lines) : LangLines(std::move(lines)) {}

    // Whether line 0, from its last "Qorvic" to its end, equals `versionTag`.
    // Empty (a read failure) when there are no lines or line 0 holds no "Qorvic".
    std::optional<bool> LanguageVersionOk(std::wstring_view versionTag) const;

    // Advances to the next line and returns its entry text; empty (a read
    // failure) when that line does not exist.
    std::optional<std::wstring> NextLangEntry();

    std::vector<std::wstring> LangLines;
    std::int16_t LangLineNo = 0;
};

// The file name for a language, "Qorvic_<language>.Language", for any name that
// can stand in a file name; empty for an empty name or one with a path character.
std::wstring LanguageFileName(std::wstring_view language);

// The languages whose names every language file gives in its lines 1 to 8, in
// that order. The first is the language whose texts are built into the program.
inline constexpr std::array<std::wstring_view, 8> kNamedLanguages = {
    L"English", L"Dutch", L"French", L"German", L"Japanese", L"Polish", L"Russian", L"Spanish"};

// The built-in English texts, with the list's own names in the language menu:
// what the program shows before any file is read.
LanguageTexts BuiltInLanguageTexts(const std::vector<std::wstring>& listNames);

struct LanguageFailureTexts {
    std::wstring wrongVersion;
    std::wstring notFound;
};
// English, French and Dutch have their own failure texts; the other five of the
// eight use the English pair; any other name has none.
LanguageFailureTexts FailureTextsFor(std::wstring_view language);

// How a language file's bytes are to be decoded.
inline constexpr unsigned kSystemCodePage = 0; // the system's ANSI code page
inline constexpr unsigned kUtf8CodePage = 65001;
struct LanguageDecoding {
    unsigned codePage;
    std::size_t skipBytes; // a byte-order mark not to decode
};
// Each shipped language has a fixed code page, so it shows correctly whatever
// the system's code page; a UTF-8 byte-order mark overrides it. Other names
// fall back to the system's code page.
LanguageDecoding ChooseLanguageDecoding(std::wstring_view language, std::string_view bytes);

// Turns a file's bytes (after the byte-order mark) into text in the given code page.
using LanguageDecoder = std::function<std::wstring(std::string_view bytes, unsigned codePage)>;

// Where a load stopped.
enum class LanguageLoadStop {
    Complete,    // all 19 entries read, or English with no file of its own
    BeforeTexts, // missing/unreadable file or bad version line: nothing changed
    PartWay,     // the file ended before its last entry
};

// What one load changes. `texts` is the state after the load: unchanged when it
// stopped before the texts, else every text the file gives and the built-in
// English for the rest (a file that ends early or leaves an entry blank), so no
// caption is ever blank. The two captions are present unless nothing changed.
struct LanguageLoadResult {
    LanguageTexts texts;
    std::optional<std::wstring> optionsCaption; // for optionsLabel
    std::optional<std::wstring> screenCaption;  // for wholeScreenBox
    LanguageLoadStop stop = LanguageLoadStop::BeforeTexts;
    bool wrongVersion = false;
    // The failure text the load selected: the wrong-version text after a
    // version mismatch, the not-found text after a read failure, else empty.
    std::wstring selectedFailureText;
    LangReader reader; // the lines read and the number of the last entry taken
};

// The whole load of one language file over already read bytes. `fileBytes` is
// empty when the file cannot be read, which for English means its built-in
// texts. `listNames` is the language list: one language menu row per entry,
// showing the file's name for that language when it is one of the named eight
// and the file gives it, else the list's own name.
LanguageLoadResult LoadLanguageTexts(const LanguageTexts& current, std::wstring_view language,
                                     const std::optional<std::string>& fileBytes,
                                     const LanguageDecoder& decode, std::wstring_view versionTag,
                                     const std::vector<std::wstring>& listNames);

} // namespace qorvic
