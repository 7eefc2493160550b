#include "language_test_support.h"
#include "languages/language_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qorvic;
using qorvic::testing::EnglishMenuTexts;
using qorvic::testing::kEightLanguages;
using qorvic::testing::NonMenuTexts;

namespace {

using Texts = std::vector<std::wstring>;
const std::wstring kTag = L"Qorvic  1.10";
const std::wstring kNotFound = L"Language file not found or corrupt";

// Bytes to text one to one, enough for the ASCII files built here; it also
// records what the loader asked for.
struct RecordingDecoder {
    std::string bytes;
    unsigned codePage = 12345;
    LanguageDecoder Fn() {
        return [this](std::string_view b, unsigned cp) {
            bytes.assign(b);
            codePage = cp;
            return std::wstring(b.begin(), b.end());
        };
    }
};

// A language file with entry texts "t1" to "t<entries>".
std::string MakeFile(std::size_t entries = 19, const std::string& versionLine = "x Qorvic  1.10",
                     const std::string& lineEnd = "\r\n") {
    std::string file = versionLine + lineEnd;
    for (std::size_t i = 1; i <= entries; ++i)
        file += "Label " + std::to_string(i) + "= t" + std::to_string(i) + lineEnd;
    return file;
}

// The texts before a load; none of them looks like a file's entry.
LanguageTexts OldTexts() {
    return {{L"old0", L"old1"}, L"oldHandOff", L"oldCopy",      L"oldSaveAs", L"oldFormats=",
            L"oldScaling=",     L"oldColour=", L"oldLanguages", L"oldNew ",   L"oldEquals"};
}

LanguageLoadResult Load(const std::optional<std::string>& bytes,
                        const Texts& list = kEightLanguages,
                        std::wstring_view language = L"English") {
    RecordingDecoder decoder;
    return LoadLanguageTexts(OldTexts(), language, bytes, decoder.Fn(), kTag, list);
}

} // namespace

TEST(LangLines, SplitAtCarriageReturnsOnly) {
    EXPECT_EQ(SplitLangLines(L"a\r\nb\rc"), (Texts{L"a", L"\nb", L"c"}));
    EXPECT_EQ(SplitLangLines(L"a\r\r"), (Texts{L"a", L"", L""}));
    EXPECT_EQ(SplitLangLines(L"a\nb\nc"), (Texts{L"a\nb\nc"})) << "line feeds do not end a line";
    EXPECT_TRUE(SplitLangLines(L"").empty());
}

TEST(LangEntryText, SkipsTheLabelAndOneCharacterAfterTheFirstEquals) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"\nLabel=xOptions", L"Options"},
        {L"\nLabel= Options", L"Options"},
        {L"\nLabel= a=b", L"a=b"}, // a second "=" is part of the text
        {L"\nLabel= keeps trailing  ", L"keeps trailing  "},
        {L"\nLabel= \u00e4\u0416\u65E5", L"\u00e4\u0416\u65E5"},
        // "=" at or next to the end gives an empty text.
        {L"\nLabel=", L""},
        {L"\nLabel= ", L""},
        {L"=", L""},
        {L"", L""},
        // Without "=" all but the line's first character.
        {L"\nWord", L"Word"},
        {L"Word", L"ord"},
        {L"\n", L""},
    };
    for (const auto& [line, text] : cases)
        EXPECT_EQ(LangEntryText(line), text) << "line \"" << line << "\"";
}

TEST(LanguageVersionOk, ComparesFromTheLastProductNameToTheEndOfLineZero) {
    const std::pair<Texts, std::optional<bool>> cases[] = {
        {{L"Qorvic  1.10"}, true},
        {{L"Any words before Qorvic  1.10", L"\nx= y"}, true},
        {{L"Qorvic  1.10 Qorvic  1.11"}, false}, // the last occurrence counts
        {{L"Qorvic  1.10 "}, false},
        {{L"Qorvic 1.10"}, false},
        // No product name in line 0, or no lines at all, is a read failure.
        {{L"qorvic  1.10"}, std::nullopt}, // case-sensitive
        {{L"", L"\nQorvic  1.10"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [lines, ok] : cases)
        EXPECT_EQ(LangReader(lines).LanguageVersionOk(kTag), ok)
            << (lines.empty() ? std::wstring(L"(no lines)") : lines[0]);
}

TEST(NextLangEntry, StartsAtLineOneAndFailsPastTheEnd) {
    LangReader reader({L"v", L"\na= one", L"\nb= two"});
    EXPECT_EQ(reader.NextLangEntry(), L"one");
    EXPECT_EQ(reader.NextLangEntry(), L"two");
    EXPECT_EQ(reader.LangLineNo, 2);
    EXPECT_EQ(reader.NextLangEntry(), std::nullopt);
}

TEST(LanguageTables, AnyNameHasAFileFailureTextsAndCodePagesGoByTheExactName) {
    Texts names = kEightLanguages;
    names.insert(names.end(), {L"Zulu", L"english", L"Fran\u00e7ais"});
    for (const auto& name : names)
        EXPECT_EQ(LanguageFileName(name), L"Qorvic_" + name + L".Language");
    for (const wchar_t* unusable : {L"", L"..\\English", L"a/b", L"C:", L"Why?", L"Tab\t"})
        EXPECT_EQ(LanguageFileName(unusable), L"") << unusable;

    const struct {
        const wchar_t *language, *notFound, *wrongVersion;
        unsigned codePage;
    } cases[] = {
        {L"French", L"Fichier langage non trouv\u00e9 ou corrompu.",
         L"Mauvaise version de fichier langage.", 1252},
        {L"Dutch", L"Taalbestand ontbreekt of corrupt.", L"Foute taalbestand versie.", 1252},
        {L"English", kNotFound.c_str(), L"Wrong language file version.", 1252},
        {L"Spanish", kNotFound.c_str(), L"Wrong language file version.", 1252},
        {L"German", kNotFound.c_str(), L"Wrong language file version.", 1252},
        {L"Polish", kNotFound.c_str(), L"Wrong language file version.", 1250},
        {L"Russian", kNotFound.c_str(), L"Wrong language file version.", 1251},
        {L"Japanese", kNotFound.c_str(), L"Wrong language file version.", 932},
        {L"Italian", L"", L"", kSystemCodePage},
        {L"japanese", L"", L"", kSystemCodePage},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FailureTextsFor(c.language).notFound, c.notFound) << c.language;
        EXPECT_EQ(FailureTextsFor(c.language).wrongVersion, c.wrongVersion) << c.language;
        const LanguageDecoding decoding = ChooseLanguageDecoding(c.language, "Qorvic");
        EXPECT_EQ(decoding.codePage, c.codePage) << c.language;
        EXPECT_EQ(decoding.skipBytes, 0u);
    }
}

TEST(LanguageDecodingChoice, AByteOrderMarkMeansUtf8) {
    const LanguageDecoding bom = ChooseLanguageDecoding(L"Russian", "\xEF\xBB\xBFQorvic");
    EXPECT_EQ(bom.codePage, kUtf8CodePage);
    EXPECT_EQ(bom.skipBytes, 3u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Russian", "\xEF\xBB").codePage, 1251u)
        << "a cut-off mark is no mark";
}

TEST(LoadLanguage, CompleteFileSetsAllTextsWithTheirMarkers) {
    const LanguageLoadResult r = Load(MakeFile(19) + "Line after the entries= ignored\r\n");
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_FALSE(r.wrongVersion);
    EXPECT_EQ(r.selectedFailureText, L"");
    EXPECT_EQ(r.texts.LanguageMenu,
              (Texts{L"t1", L"t2", L"t3", L"t4", L"t5", L"t6", L"t7", L"t8"}));
    EXPECT_EQ(NonMenuTexts(r.texts),
              (Texts{L"t9", L"t10", L"t11", L"t12=", L"t13=", L"t14=", L"t15", L"t18 ", L"t19"}));
    EXPECT_EQ(r.optionsCaption, L"t16");
    EXPECT_EQ(r.screenCaption, L"t17");
    EXPECT_EQ(r.reader.LangLineNo, 19);
}

TEST(LoadLanguage, WrongVersionSelectsItsTextAndStillLoads) {
    const LanguageLoadResult r =
        Load(MakeFile(19, "Qorvic  1.10 then Qorvic  1.09"), kEightLanguages, L"French");
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_TRUE(r.wrongVersion);
    EXPECT_EQ(r.selectedFailureText, L"Mauvaise version de fichier langage.");
    EXPECT_EQ(r.texts.TxtEquals, L"t19");
    EXPECT_EQ(r.screenCaption, L"t17");
}

TEST(LoadLanguage, FailuresBeforeTheTextsChangeNothing) {
    const struct {
        const char* what;
        std::optional<std::string> bytes;
        std::wstring language, failureText;
    } cases[] = {
        {"missing file", std::nullopt, L"German", kNotFound},
        {"empty file", std::string(), L"English", kNotFound},
        {"no product name in line 0", MakeFile(19, "Version 1.10"), L"English", kNotFound},
        {"product name only in line 1", "v\r\nQorvic  1.10= x\r\n", L"English", kNotFound},
        {"a name that cannot be a file name", MakeFile(19), L"..\\English", L""},
        {"a missing language outside the eight", std::nullopt, L"Zulu", L""},
        {"Dutch missing", std::nullopt, L"Dutch", L"Taalbestand ontbreekt of corrupt."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LanguageLoadResult r = Load(c.bytes, kEightLanguages, c.language);
        EXPECT_EQ(r.stop, LanguageLoadStop::BeforeTexts);
        EXPECT_EQ(r.selectedFailureText, c.failureText);
        EXPECT_EQ(r.texts.LanguageMenu, OldTexts().LanguageMenu);
        EXPECT_EQ(NonMenuTexts(r.texts), NonMenuTexts(OldTexts()));
        EXPECT_FALSE(r.optionsCaption || r.screenCaption);
    }
}

TEST(LoadLanguage, LineFeedOnlyFileGivesTheBuiltInTexts) {
    const LanguageLoadResult r = Load(MakeFile(19, "x Qorvic  1.10", "\n"));
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_TRUE(r.wrongVersion) << "the whole file is line 0";
    EXPECT_EQ(r.selectedFailureText, kNotFound);
    EXPECT_EQ(r.texts.LanguageMenu, kEightLanguages);
    EXPECT_EQ(NonMenuTexts(r.texts), NonMenuTexts(EnglishMenuTexts()));
}

TEST(LoadLanguage, ShortFileKeepsWhatItReadAndTakesTheRestFromTheBuiltInTexts) {
    auto withoutLastLineEnd = [](std::string file) { return file.substr(0, file.size() - 2); };
    // Ends after line 12 (the formats entry).
    LanguageLoadResult r = Load(withoutLastLineEnd(MakeFile(12)));
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_EQ(r.selectedFailureText, kNotFound);
    EXPECT_EQ(
        NonMenuTexts(r.texts),
        (Texts{L"t9", L"t10", L"t11", L"t12=", L"Output size=", L"Frame colour...=", L"Language>",
               L"A new version is available: ", L"100% equals the original size"}));
    EXPECT_EQ(r.optionsCaption, L"Options");
    EXPECT_EQ(r.screenCaption, L"Capture screen");

    // The final line end starts one more line: its lone line feed is a blank entry.
    r = Load(MakeFile(12));
    EXPECT_EQ(r.texts.TxtScaling, L"Output size=");

    // Ends after line 16: the options caption is the file's, the check box's is not.
    r = Load(withoutLastLineEnd(MakeFile(16)));
    EXPECT_EQ(r.optionsCaption, L"t16");
    EXPECT_EQ(r.screenCaption, L"Capture screen");
    EXPECT_EQ(r.texts.TxtLanguages, L"t15");

    // Ends inside the names: later rows show the list's names.
    r = Load(withoutLastLineEnd(MakeFile(3)));
    EXPECT_EQ(r.texts.LanguageMenu, (Texts{L"t1", L"t2", L"t3", L"German", L"Japanese", L"Polish",
                                           L"Russian", L"Spanish"}));
    EXPECT_EQ(NonMenuTexts(r.texts), NonMenuTexts(EnglishMenuTexts()));
}

TEST(LoadLanguage, BlankEntriesShowTheListNameOrTheBuiltInText) {
    std::string file = MakeFile(19);
    for (const std::string entry : {"Label 2= t2", "Label 10= t10", "Label 17= t17"})
        file.replace(file.find(entry), entry.size(), entry.substr(0, entry.find('=') + 1) + "  ");
    const LanguageLoadResult r = Load(file);
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_EQ(r.selectedFailureText, L"") << "a blank entry is no damage";
    EXPECT_EQ(r.texts.LanguageMenu[1], L"Dutch");
    EXPECT_EQ(r.texts.LanguageMenu[2], L"t3");
    EXPECT_EQ(r.texts.TxtCopy, L"Copy to clipboard");
    EXPECT_EQ(r.texts.TxtSaveAs, L"t11");
    EXPECT_EQ(r.screenCaption, L"Capture screen");
}

TEST(LoadLanguage, DecodesInTheLanguagesCodePageOrAsUtf8AfterAMark) {
    RecordingDecoder decoder;
    const std::string file = MakeFile(19);
    LoadLanguageTexts(OldTexts(), L"Polish", file, decoder.Fn(), kTag, kEightLanguages);
    EXPECT_EQ(decoder.codePage, 1250u);
    EXPECT_EQ(decoder.bytes, file);

    const LanguageLoadResult r = LoadLanguageTexts(OldTexts(), L"Japanese", "\xEF\xBB\xBF" + file,
                                                   decoder.Fn(), kTag, kEightLanguages);
    EXPECT_EQ(decoder.codePage, kUtf8CodePage);
    EXPECT_EQ(decoder.bytes, file) << "the mark itself is not decoded";
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_FALSE(r.wrongVersion);
}
