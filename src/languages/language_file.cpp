#include "languages/language_file.h"

#include <algorithm>
#include <array>

namespace qorvic {

namespace {

constexpr std::wstring_view kProductName = L"Qorvic";

struct LanguageEntry {
    std::wstring_view name;
    unsigned codePage;
    const LanguageFailureTexts* failureTexts;
};

const LanguageFailureTexts kEnglishFailures{L"Wrong language file version.",
                                            L"Language file not found or corrupt"};
const LanguageFailureTexts kFrenchFailures{L"Mauvaise version de fichier langage.",
                                           L"Fichier langage non trouv\u00e9 ou corrompu."};
const LanguageFailureTexts kDutchFailures{L"Foute taalbestand versie.",
                                          L"Taalbestand ontbreekt of corrupt."};

// The languages with a code page and failure texts of their own.
const std::array<LanguageEntry, 8> kLanguages{{
    {L"English", 1252, &kEnglishFailures},
    {L"Spanish", 1252, &kEnglishFailures},
    {L"German", 1252, &kEnglishFailures},
    {L"French", 1252, &kFrenchFailures},
    {L"Dutch", 1252, &kDutchFailures},
    {L"Polish", 1250, &kEnglishFailures},
    {L"Japanese", 932, &kEnglishFailures},
    {L"Russian", 1251, &kEnglishFailures},
}};

const LanguageEntry* FindLanguage(std::wstring_view language) {
    for (const auto& entry : kLanguages) {
        if (entry.name == language)
            return &entry;
    }
    return nullptr;
}

// A file's 19 entry texts: the eight language names, then the other texts.
constexpr std::size_t kEntryCount = 19;
using LangEntries = std::array<std::wstring, kEntryCount>;

// Entries 9 to 19 of the English file, built in as the floor under every load.
constexpr std::array<std::wstring_view, kEntryCount - kNamedLanguages.size()> kBuiltInTexts{
    L"Send to Norvane",
    L"Copy to clipboard",
    L"Save as...",
    L"Save to desktop as>",
    L"Output size",
    L"Frame colour...",
    L"Language>",
    L"Options",
    L"Capture screen",
    L"A new version is available:",
    L"100% equals the original size",
};

LangEntries BuiltInEntries() {
    LangEntries entries;
    auto out = std::copy(kNamedLanguages.begin(), kNamedLanguages.end(), entries.begin());
    std::copy(kBuiltInTexts.begin(), kBuiltInTexts.end(), out);
    return entries;
}

// Nothing to show: white space and menu markers only.
bool IsBlank(std::wstring_view text) {
    return text.find_first_not_of(L" \t\n=>") == std::wstring_view::npos;
}

// The file gives names by language, not by row: a row shows the file's name for
// its own language, so the rows stay with what they select whichever files the
// folder holds. A language outside the named eight shows its list name.
std::vector<std::wstring> LanguageMenuRows(const LangEntries& entries,
                                           const std::vector<std::wstring>& listNames) {
    std::vector<std::wstring> rows = listNames;
    for (std::wstring& row : rows) {
        const auto named = std::find(kNamedLanguages.begin(), kNamedLanguages.end(), row);
        if (named != kNamedLanguages.end())
            row = entries[static_cast<std::size_t>(named - kNamedLanguages.begin())];
    }
    return rows;
}

// Stores all entries; the "=" after formats, scaling and colour is the menu's
// separator marker.
void StoreEntries(const LangEntries& e, const std::vector<std::wstring>& listNames,
                  LanguageLoadResult& result) {
    LanguageTexts& t = result.texts;
    t.LanguageMenu = LanguageMenuRows(e, listNames);
    t.TxtHandOff = e[8];
    t.TxtCopy = e[9];
    t.TxtSaveAs = e[10];
    t.TxtFormats = e[11] + L"=";
    t.TxtScaling = e[12] + L"=";
    t.TxtColour = e[13] + L"=";
    t.TxtLanguages = e[14];
    result.optionsCaption = e[15];
    result.screenCaption = e[16];
    t.TxtNewVersion = e[17] + L" ";
    t.TxtEquals = e[18];
}

} // namespace

std::vector<std::wstring> SplitLangLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t cr = text.find(L'\r', start);
        if (cr == std::wstring_view::npos) {
            lines.emplace_back(text.substr(start));
            return lines;
        }
        lines.emplace_back(text.substr(start, cr - start));
        start = cr + 1;
    }
}

std::wstring LangEntryText(std::wstring_view line) {
    const std::size_t eq = line.find(L'=');
    // The character right after "=" (or the first character of a line without
    // one, normally the line feed of a CR LF line end) is skipped.
    const std::size_t start = eq == std::wstring_view::npos ? 1 : eq + 2;
    if (start >= line.size())
        return {};
    return std::wstring(line.substr(start));
}

std::optional<bool> LangReader::LanguageVersionOk(std::wstring_view versionTag) const {
    if (LangLines.empty())
        return std::nullopt;
    const std::wstring_view line0 = LangLines.front();
    const std::size_t at = line0.rfind(kProductName);
    if (at == std::wstring_view::npos)
        return std::nullopt;
    return line0.substr(at) == versionTag;
}

std::optional<std::wstring> LangReader::NextLangEntry() {
    ++LangLineNo;
    if (LangLineNo < 0 || static_cast<std::size_t>(LangLineNo) >= LangLines.size())
        return std::nullopt;
    return LangEntryText(LangLines[static_cast<std::size_t>(LangLineNo)]);
}

std::wstring LanguageFileName(std::wstring_view language) {
    if (language.empty() || language.find_first_of(L"\\/:*?\"<>|") != std::wstring_view::npos ||
        std::any_of(language.begin(), language.end(), [](wchar_t c) { return c < 0x20; }))
        return {};
    return std::wstring(kProductName) + L"_" + std::wstring(language) + L".Language";
}

LanguageTexts BuiltInLanguageTexts(const std::vector<std::wstring>& listNames) {
    LanguageLoadResult result;
    StoreEntries(BuiltInEntries(), listNames, result);
    return result.texts;
}

LanguageFailureTexts FailureTextsFor(std::wstring_view language) {
    const LanguageEntry* entry = FindLanguage(language);
    return entry ? *entry->failureTexts : LanguageFailureTexts{};
}

LanguageDecoding ChooseLanguageDecoding(std::wstring_view language, std::string_view bytes) {
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB &&
        static_cast<unsigned char>(bytes[2]) == 0xBF)
        return {kUtf8CodePage, 3};
    const LanguageEntry* entry = FindLanguage(language);
    return {entry ? entry->codePage : kSystemCodePage, 0};
}

LanguageLoadResult LoadLanguageTexts(const LanguageTexts& current, std::wstring_view language,
                                     const std::optional<std::string>& fileBytes,
                                     const LanguageDecoder& decode, std::wstring_view versionTag,
                                     const std::vector<std::wstring>& listNames) {
    LanguageLoadResult result;
    result.texts = current;
    const LanguageFailureTexts failures = FailureTextsFor(language);
    LangEntries entries = BuiltInEntries();

    auto stopBeforeTexts = [&] {
        result.stop = LanguageLoadStop::BeforeTexts;
        result.selectedFailureText = failures.notFound;
        return result;
    };

    if (LanguageFileName(language).empty())
        return stopBeforeTexts();
    if (!fileBytes) {
        // English needs no file: the program carries its texts.
        if (language != kNamedLanguages.front())
            return stopBeforeTexts();
        StoreEntries(entries, listNames, result);
        result.stop = LanguageLoadStop::Complete;
        return result;
    }

    const LanguageDecoding decoding = ChooseLanguageDecoding(language, *fileBytes);
    const std::string_view body = std::string_view(*fileBytes).substr(decoding.skipBytes);
    result.reader = LangReader(SplitLangLines(decode(body, decoding.codePage)));

    const std::optional<bool> versionOk = result.reader.LanguageVersionOk(versionTag);
    if (!versionOk)
        return stopBeforeTexts();
    if (!*versionOk) {
        // An older or newer file is still loaded in full.
        result.wrongVersion = true;
        result.selectedFailureText = failures.wrongVersion;
    }

    result.stop = LanguageLoadStop::Complete;
    result.reader.LangLineNo = 0;
    for (std::wstring& entry : entries) {
        std::optional<std::wstring> text = result.reader.NextLangEntry();
        if (!text) {
            result.stop = LanguageLoadStop::PartWay;
            result.selectedFailureText = failures.notFound;
            break;
        }
        if (!IsBlank(*text))
            entry = std::move(*text);
    }
    StoreEntries(entries, listNames, result);
    return result;
}

} // namespace qorvic
