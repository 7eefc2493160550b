#include "languages.h"
#include "languages/language_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::testing;

namespace {

using Texts = std::vector<std::wstring>;
const std::wstring kTag = L"Qorvic  1.10";
const std::wstring kNotFound = L"Language file not found or corrupt";

// A language file with entry texts "t1" to "t<entries>".
std::string MakeFile(int entries = 19, const std::string& head = "x Qorvic  1.10",
                     const std::string& lineEnd = "\r\n", bool cutLastLineEnd = false) {
    return LanguageFile(
        head, entries, [](int i) { return std::string("t").append(std::to_string(i)); }, lineEnd,
        cutLastLineEnd);
}

// The texts before a load; none of them looks like a file's entry.
LanguageTexts OldTexts() {
    return {{L"old0", L"old1"}, L"oldHandOff", L"oldCopy",      L"oldSaveAs", L"oldFormats=",
            L"oldScaling=",     L"oldColour=", L"oldLanguages", L"oldNew ",   L"oldEquals"};
}

// Loads `bytes`, recording the code page the loader decodes them in.
LanguageLoadResult Load(const std::optional<std::string>& bytes,
                        std::wstring_view language = L"English", unsigned* codePage = nullptr,
                        std::string* decoded = nullptr) {
    const auto decode = [&](std::string_view b, unsigned cp) {
        if (codePage)
            *codePage = cp;
        if (decoded)
            decoded->assign(b);
        return Latin1(b);
    };
    return LoadLanguageTexts(OldTexts(), language, bytes, decode, kTag, kEightLanguages);
}

} // namespace

TEST(LangEntryText, LinesEndAtCarriageReturnsAndTextsStartOneAfterTheFirstEquals) {
    EXPECT_EQ(SplitLangLines(L"a\r\nb\rc"), (Texts{L"a", L"\nb", L"c"}));
    EXPECT_EQ(SplitLangLines(L"a\nb\nc"), (Texts{L"a\nb\nc"})) << "line feeds do not end a line";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"\nLabel=xOptions", L"Options"},
        {L"\nLabel= a=b", L"a=b"}, // a second "=" is part of the text
        {L"\nLabel= keeps trailing  ", L"keeps trailing  "},
        {L"=", L""},
        // Without "=" all but the line's first character.
        {L"\nWord", L"Word"},
        {L"", L""},
    };
    for (const auto& [line, text] : cases)
        EXPECT_EQ(LangEntryText(line), text) << "line \"" << line << "\"";
}

TEST(LanguageVersionOk, ComparesFromTheLastProductNameToTheEndOfLineZero) {
    const std::pair<Texts, std::optional<bool>> cases[] = {
        {{L"Any words before Qorvic  1.10", L"\nx= y"}, true},
        {{L"Qorvic  1.10 Qorvic  1.11"}, false}, // the last occurrence counts
        // No product name in line 0, or no lines at all, is a read failure.
        {{L"qorvic  1.10"}, std::nullopt}, // case-sensitive
        {{L"", L"\nQorvic  1.10"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [lines, ok] : cases)
        EXPECT_EQ(LangReader(lines).LanguageVersionOk(kTag), ok)
            << (lines.empty() ? std::wstring(L"(no lines)") : lines[0]);
}

// Each shipped file is stored in its language's code page; a UTF-8 file says so
// with a byte-order mark, which is not decoded.
TEST(LanguageDecodingChoice, EachLanguageHasItsCodePageOrUtf8AfterAMark) {
    const std::pair<const wchar_t*, unsigned> cases[] = {
        {L"English", 1252},
        {L"Dutch", 1252},
        {L"French", 1252},
        {L"German", 1252},
        {L"Spanish", 1252},
        {L"Polish", 1250},
        {L"Russian", 1251},
        {L"Japanese", 932},
        {L"Italian", kSystemCodePage},
        {L"japanese", kSystemCodePage},
    };
    const std::string file = MakeFile();
    for (const auto& [language, codePage] : cases) {
        unsigned used = 0;
        std::string decoded;
        EXPECT_EQ(Load(file, language, &used, &decoded).stop, LanguageLoadStop::Complete);
        EXPECT_EQ(used, codePage) << language;
        Load("\xEF\xBB\xBF" + file, language, &used, &decoded);
        EXPECT_EQ(used, kUtf8CodePage) << language;
        EXPECT_EQ(decoded, file) << "the mark itself is not decoded";
    }
    EXPECT_EQ(ChooseLanguageDecoding(L"Russian", "\xEF\xBB").codePage, 1251u)
        << "a cut-off mark is no mark";
}

TEST(LanguageTables, AnyUsableNameHasAFileAndTwoLanguagesTheirOwnFailureTexts) {
    for (const wchar_t* name : {L"English", L"Zulu", L"Fran\u00e7ais"})
        EXPECT_EQ(LanguageFileName(name), L"Qorvic_" + std::wstring(name) + L".Language");
    for (const wchar_t* unusable : {L"", L"..\\English", L"a/b", L"C:", L"Why?", L"Tab\t"})
        EXPECT_EQ(LanguageFileName(unusable), L"") << unusable;
    EXPECT_EQ(FailureTextsFor(L"French").wrongVersion, L"Mauvaise version de fichier langage.");
    EXPECT_EQ(FailureTextsFor(L"Polish").notFound, kNotFound);
    EXPECT_EQ(FailureTextsFor(L"Italian").notFound, L"");
}

TEST(LoadLanguage, CompleteFileSetsAllTextsWithTheirMarkers) {
    const LanguageLoadResult r = Load(MakeFile(19) + "Line after the entries= ignored\r\n");
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_FALSE(r.wrongVersion);
    EXPECT_EQ(r.selectedFailureText, L"");
    EXPECT_EQ(r.texts.LanguageMenu.back(), L"t8");
    EXPECT_EQ(r.texts.TxtHandOff, L"t9");
    EXPECT_EQ(r.texts.TxtFormats, L"t12=");
    EXPECT_EQ(r.texts.TxtNewVersion, L"t18 ");
    EXPECT_EQ(r.optionsCaption, L"t16");
    EXPECT_EQ(r.screenCaption, L"t17");

    const LanguageLoadResult wrong =
        Load(MakeFile(19, "Qorvic  1.10 then Qorvic  1.09"), L"French");
    EXPECT_EQ(wrong.stop, LanguageLoadStop::Complete) << "a wrong version still loads";
    EXPECT_TRUE(wrong.wrongVersion);
    EXPECT_EQ(wrong.selectedFailureText, L"Mauvaise version de fichier langage.");
    EXPECT_EQ(wrong.texts.TxtEquals, L"t19");
}

TEST(LoadLanguage, FailuresBeforeTheTextsChangeNothing) {
    const struct {
        const char* what;
        std::optional<std::string> bytes;
        std::wstring language, failureText;
    } cases[] = {
        {"no product name in line 0", MakeFile(19, "Version 1.10"), L"English", kNotFound},
        {"a name that cannot be a file name", MakeFile(19), L"..\\English", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LanguageLoadResult r = Load(c.bytes, c.language);
        EXPECT_EQ(r.stop, LanguageLoadStop::BeforeTexts);
        EXPECT_EQ(r.selectedFailureText, c.failureText);
        EXPECT_EQ(r.texts.LanguageMenu, OldTexts().LanguageMenu);
        EXPECT_EQ(NonMenuTexts(r.texts), NonMenuTexts(OldTexts()));
        EXPECT_FALSE(r.optionsCaption || r.screenCaption);
    }
}

TEST(LoadLanguage, ShortFileKeepsWhatItReadAndTakesTheRestFromTheBuiltInTexts) {
    // Line feeds only: the whole file is line 0.
    LanguageLoadResult r = Load(MakeFile(19, "x Qorvic  1.10", "\n"));
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_EQ(r.selectedFailureText, kNotFound);
    EXPECT_EQ(r.texts.LanguageMenu, kEightLanguages);
    EXPECT_EQ(NonMenuTexts(r.texts), NonMenuTexts(EnglishMenuTexts()));

    // Ends after line 12 (the formats entry).
    r = Load(MakeFile(12, "x Qorvic  1.10", "\r\n", true));
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_EQ(r.texts.TxtFormats, L"t12=");
    EXPECT_EQ(r.texts.TxtScaling, L"Output size=");
    EXPECT_EQ(r.optionsCaption, L"Options");
    EXPECT_EQ(r.screenCaption, L"Capture screen");
    // The final line end starts one more line: its lone line feed is a blank entry.
    EXPECT_EQ(Load(MakeFile(12)).texts.TxtScaling, L"Output size=");
}

TEST(LoadLanguage, BlankEntriesShowTheListNameOrTheBuiltInText) {
    const std::string file = LanguageFile("x Qorvic  1.10", 19, [](int i) {
        return i == 2 || i == 10 || i == 17 ? std::string("  ")
                                            : std::string("t").append(std::to_string(i));
    });
    const LanguageLoadResult r = Load(file);
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_EQ(r.selectedFailureText, L"") << "a blank entry is no damage";
    EXPECT_EQ(r.texts.LanguageMenu[1], L"Dutch");
    EXPECT_EQ(r.texts.TxtCopy, L"Copy to clipboard");
    EXPECT_EQ(r.texts.TxtSaveAs, L"t11");
    EXPECT_EQ(r.screenCaption, L"Capture screen");
}
