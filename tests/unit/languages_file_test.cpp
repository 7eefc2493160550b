// Language files: entries to texts over files built in memory.
#include "base/version.h"
#include "languages.h"
#include "languages/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::testing;

namespace {

using Texts = std::vector<std::wstring>;
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

LanguageLoadResult Load(const std::optional<std::string>& bytes,
                        std::wstring_view language = L"English") {
    const auto decode = [](std::string_view b, unsigned) { return Latin1(b); };
    return LoadLanguageTexts(OldTexts(), language, bytes, decode, kVersionTag, kEightLanguages);
}

} // namespace

// That line feeds end no line: the short file below.
TEST(LangEntryText, LinesEndAtCarriageReturnsAndTextsStartOneAfterTheFirstEquals) {
    EXPECT_EQ(SplitLangLines(L"a\r\nb\rc"), (Texts{L"a", L"\nb", L"c"}));
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

TEST(LanguageDecodingChoice, AUtf8MarkOverridesAnyCodePageOtherNamesTakeTheSystemOne) {
    for (const wchar_t* language : {L"Russian", L"Italian"}) {
        const LanguageDecoding d = ChooseLanguageDecoding(language, "\xEF\xBB\xBFx");
        EXPECT_EQ(d.codePage, kUtf8CodePage) << language;
        EXPECT_EQ(d.skipBytes, 3u) << "the mark itself is not decoded";
    }
    EXPECT_EQ(ChooseLanguageDecoding(L"Russian", "\xEF\xBB").skipBytes, 0u)
        << "a cut-off mark is no mark";
    for (const wchar_t* other : {L"Italian", L"japanese"})
        EXPECT_EQ(ChooseLanguageDecoding(other, "x").codePage, kSystemCodePage) << other;
}

TEST(LanguageTables, AnyUsableNameHasAFile) {
    for (const wchar_t* name : {L"English", L"Zulu", L"Fran\u00e7ais"})
        EXPECT_EQ(LanguageFileName(name), L"Qorvic_" + std::wstring(name) + L".Language");
    for (const wchar_t* unusable : {L"", L"..\\English", L"a/b", L"C:", L"Why?", L"Tab\t"})
        EXPECT_EQ(LanguageFileName(unusable), L"") << unusable;
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

    // Line 0 is compared from its last product name on.
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
        {"the product name in another case", MakeFile(19, "qorvic  1.10"), L"English", kNotFound},
        {"an empty file", "", L"English", kNotFound},
        {"no file for a language but English", std::nullopt, L"Zulu", L""},
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

// The program's own English is the shipped English file's; each file in its
// code page against its source: the Windows language test.
TEST(LoadLanguage, TheBuiltInEnglishIsTheShippedEnglishFile) {
    std::ifstream in(std::filesystem::path(QORVIC_TEST_DATA).parent_path().parent_path() / "lang" /
                         "Qorvic_English.Language",
                     std::ios::binary);
    const LanguageLoadResult shipped = Load(std::string(std::istreambuf_iterator<char>(in), {}));
    const LanguageLoadResult builtIn = Load(std::nullopt);
    ASSERT_EQ(shipped.stop, LanguageLoadStop::Complete);
    EXPECT_FALSE(shipped.wrongVersion);
    EXPECT_EQ(shipped.texts.LanguageMenu, builtIn.texts.LanguageMenu);
    EXPECT_EQ(NonMenuTexts(shipped.texts), NonMenuTexts(builtIn.texts));
    EXPECT_EQ(shipped.optionsCaption, builtIn.optionsCaption);
    EXPECT_EQ(shipped.screenCaption, builtIn.screenCaption);
}
