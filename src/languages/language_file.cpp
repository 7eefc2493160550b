#include "languages/language_file.h"

#include <array>

namespace qorvic {

namespace {

constexpr std::wstring_view kProductName = L"Qorvic";

struct LanguageEntry {
    std::wstring_view name;
    std::wstring_view fileName;
    unsigned codePage;
    const LanguageFailureTexts* failureTexts;
};

const LanguageFailureTexts kEnglishFailures{L"Wrong language file version.",
                                            L"Language file not found or corrupt"};
const LanguageFailureTexts kFrenchFailures{L"Mauvaise version de fichier langage.",
                                           L"Fichier langage non trouv\u00e9 ou corrompu."};
const LanguageFailureTexts kDutchFailures{L"Foute taalbestand versie.",
                                          L"Taalbestand ontbreekt of corrupt."};

// In the order the loader compares them.
const std::array<LanguageEntry, 8> kLanguages{{
    {L"English", L"Qorvic_English.Language", 1252, &kEnglishFailures},
    {L"Spanish", L"Qorvic_Spanish.Language", 1252, &kEnglishFailures},
    {L"German", L"Qorvic_German.Language", 1252, &kEnglishFailures},
    {L"French", L"Qorvic_French.Language", 1252, &kFrenchFailures},
    {L"Dutch", L"Qorvic_Dutch.Language", 1252, &kDutchFailures},
    {L"Polish", L"Qorvic_Polish.Language", 1250, &kEnglishFailures},
    {L"Japanese", L"Qorvic_Japanese.Language", 932, &kEnglishFailures},
    {L"Russian", L"Qorvic_Russian.Language", 1251, &kEnglishFailures},
}};

const LanguageEntry* FindLanguage(std::wstring_view language) {
    for (const auto& entry : kLanguages) {
        if (entry.name == language)
            return &entry;
    }
    return nullptr;
}

// A language submenu row the file left empty shows the list's name instead of
// a blank row.
void FillBlankRows(std::vector<std::wstring>& menu, const std::vector<std::wstring>& listNames) {
    for (std::size_t i = 0; i < menu.size() && i < listNames.size(); ++i) {
        if (menu[i].empty())
            menu[i] = listNames[i];
    }
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
    const LanguageEntry* entry = FindLanguage(language);
    return entry ? std::wstring(entry->fileName) : std::wstring();
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

    auto fail = [&](LanguageLoadStop stop) {
        result.stop = stop;
        result.selectedFailureText = failures.notFound;
        if (stop == LanguageLoadStop::PartWay)
            FillBlankRows(result.texts.LanguageMenu, listNames);
        return result;
    };

    // A name outside the eight has no file; neither has a file that cannot be read.
    if (LanguageFileName(language).empty() || !fileBytes)
        return fail(LanguageLoadStop::BeforeTexts);

    const LanguageDecoding decoding = ChooseLanguageDecoding(language, *fileBytes);
    const std::string_view body = std::string_view(*fileBytes).substr(decoding.skipBytes);
    result.reader = LangReader(SplitLangLines(decode(body, decoding.codePage)));

    const std::optional<bool> versionOk = result.reader.LanguageVersionOk(versionTag);
    if (!versionOk)
        return fail(LanguageLoadStop::BeforeTexts);
    if (!*versionOk) {
        // An older or newer file is still loaded in full.
        result.wrongVersion = true;
        result.selectedFailureText = failures.wrongVersion;
    }

    result.texts.LanguageMenu.assign(listNames.size(), std::wstring());
    result.reader.LangLineNo = 0;
    for (std::size_t slot = 0; slot < 8; ++slot) {
        if (slot >= result.texts.LanguageMenu.size())
            return fail(LanguageLoadStop::PartWay);
        std::optional<std::wstring> entry = result.reader.NextLangEntry();
        if (!entry)
            return fail(LanguageLoadStop::PartWay);
        result.texts.LanguageMenu[slot] = std::move(*entry);
    }

    LanguageTexts& t = result.texts;
    struct Target {
        std::wstring* text;
        std::optional<std::wstring>* caption;
        const wchar_t* suffix;
    };
    // The "=" after formats, scaling and colour is the menu's separator marker.
    const std::array<Target, 11> targets{{
        {&t.TxtHandOff, nullptr, L""},
        {&t.TxtCopy, nullptr, L""},
        {&t.TxtSaveAs, nullptr, L""},
        {&t.TxtFormats, nullptr, L"="},
        {&t.TxtScaling, nullptr, L"="},
        {&t.TxtColour, nullptr, L"="},
        {&t.TxtLanguages, nullptr, L""},
        {nullptr, &result.optionsCaption, L""},
        {nullptr, &result.screenCaption, L""},
        {&t.TxtNewVersion, nullptr, L" "},
        {&t.TxtEquals, nullptr, L""},
    }};
    for (const Target& target : targets) {
        std::optional<std::wstring> entry = result.reader.NextLangEntry();
        if (!entry)
            return fail(LanguageLoadStop::PartWay);
        *entry += target.suffix;
        if (target.text)
            *target.text = std::move(*entry);
        else
            *target.caption = std::move(*entry);
    }
    result.stop = LanguageLoadStop::Complete;
    // A list longer than the file's eight names gets no blank rows either.
    FillBlankRows(t.LanguageMenu, listNames);
    return result;
}

} // namespace qorvic
