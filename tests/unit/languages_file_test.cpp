#include "languages/language_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qorvic;

namespace {

const std::wstring kTag = L"Qorvic  1.10";
const std::vector<std::wstring> kEight = {L"English",  L"Dutch",  L"French",  L"German",
                                          L"Japanese", L"Polish", L"Russian", L"Spanish"};

// Bytes to text one to one, enough for the ASCII files built here; it also
// records what the loader asked for.
struct RecordingDecoder {
    std::string bytes;
    unsigned codePage = 12345;
    LanguageDecoder Fn() {
        return [this](std::string_view b, unsigned cp) {
            bytes.assign(b);
            codePage = cp;
            std::wstring text;
            for (char c : b)
                text += static_cast<wchar_t>(static_cast<unsigned char>(c));
            return text;
        };
    }
};

// A language file with entry texts "t1" to "t19" (or the given ones).
std::string MakeFile(std::size_t entries = 19, const std::string& versionLine = "x Qorvic  1.10",
                     const std::string& lineEnd = "\r\n") {
    std::string file = versionLine + lineEnd;
    for (std::size_t i = 1; i <= entries; ++i)
        file += "Label " + std::to_string(i) + "= t" + std::to_string(i) + lineEnd;
    return file;
}

LanguageTexts OldTexts() {
    LanguageTexts t;
    t.LanguageMenu = {L"old0", L"old1"};
    t.TxtHandOff = L"oldHandOff";
    t.TxtCopy = L"oldCopy";
    t.TxtSaveAs = L"oldSaveAs";
    t.TxtFormats = L"oldFormats=";
    t.TxtScaling = L"oldScaling=";
    t.TxtColour = L"oldColour=";
    t.TxtLanguages = L"oldLanguages";
    t.TxtNewVersion = L"oldNew ";
    t.TxtEquals = L"oldEquals";
    return t;
}

void ExpectNonMenuTextsUnchanged(const LanguageTexts& t) {
    const LanguageTexts old = OldTexts();
    EXPECT_EQ(t.TxtHandOff, old.TxtHandOff);
    EXPECT_EQ(t.TxtCopy, old.TxtCopy);
    EXPECT_EQ(t.TxtSaveAs, old.TxtSaveAs);
    EXPECT_EQ(t.TxtFormats, old.TxtFormats);
    EXPECT_EQ(t.TxtScaling, old.TxtScaling);
    EXPECT_EQ(t.TxtColour, old.TxtColour);
    EXPECT_EQ(t.TxtLanguages, old.TxtLanguages);
    EXPECT_EQ(t.TxtNewVersion, old.TxtNewVersion);
    EXPECT_EQ(t.TxtEquals, old.TxtEquals);
}

LanguageLoadResult Load(const std::optional<std::string>& bytes,
                        const std::vector<std::wstring>& list = kEight,
                        std::wstring_view language = L"English") {
    RecordingDecoder decoder;
    return LoadLanguageTexts(OldTexts(), language, bytes, decoder.Fn(), kTag, list);
}

} // namespace

TEST(LangLines, SplitAtCarriageReturnsOnly) {
    EXPECT_EQ(SplitLangLines(L"a\r\nb\rc"), (std::vector<std::wstring>{L"a", L"\nb", L"c"}));
    EXPECT_EQ(SplitLangLines(L"a\r\r"), (std::vector<std::wstring>{L"a", L"", L""}));
    EXPECT_EQ(SplitLangLines(L"a\nb\nc"), (std::vector<std::wstring>{L"a\nb\nc"}))
        << "line feeds alone do not end a line";
    EXPECT_TRUE(SplitLangLines(L"").empty());
}

TEST(LangEntryText, SkipsTheLabelAndOneCharacterAfterTheFirstEquals) {
    EXPECT_EQ(LangEntryText(L"\nLabel=xOptions"), L"Options");
    EXPECT_EQ(LangEntryText(L"\nLabel= Options"), L"Options");
    EXPECT_EQ(LangEntryText(L"\nLabel= a=b"), L"a=b") << "a second = is part of the text";
    EXPECT_EQ(LangEntryText(L"\nLabel= keeps trailing  "), L"keeps trailing  ");
    EXPECT_EQ(LangEntryText(L"\nLabel= ä\u0416\u65E5"), L"ä\u0416\u65E5");
}

TEST(LangEntryText, EqualsAtOrNextToTheEndGivesEmptyText) {
    EXPECT_EQ(LangEntryText(L"\nLabel="), L"");
    EXPECT_EQ(LangEntryText(L"\nLabel= "), L"");
    EXPECT_EQ(LangEntryText(L"="), L"");
    EXPECT_EQ(LangEntryText(L""), L"");
}

TEST(LangEntryText, LineWithoutEqualsKeepsAllButItsFirstCharacter) {
    EXPECT_EQ(LangEntryText(L"\nWord"), L"Word");
    EXPECT_EQ(LangEntryText(L"Word"), L"ord");
    EXPECT_EQ(LangEntryText(L"\n"), L"");
}

TEST(LanguageVersionOk, ComparesFromTheLastProductNameToTheEnd) {
    EXPECT_EQ(LangReader({L"Qorvic  1.10"}).LanguageVersionOk(kTag), true);
    EXPECT_EQ(LangReader({L"Any words before Qorvic  1.10", L"\nx= y"}).LanguageVersionOk(kTag),
              true);
    EXPECT_EQ(LangReader({L"Qorvic  1.10 Qorvic  1.11"}).LanguageVersionOk(kTag), false)
        << "the last occurrence counts";
    EXPECT_EQ(LangReader({L"Qorvic  1.10 "}).LanguageVersionOk(kTag), false);
    EXPECT_EQ(LangReader({L"Qorvic 1.10"}).LanguageVersionOk(kTag), false);
}

TEST(LanguageVersionOk, NoProductNameOrNoLinesIsAReadFailure) {
    EXPECT_EQ(LangReader({L"qorvic  1.10"}).LanguageVersionOk(kTag), std::nullopt)
        << "the comparison is case-sensitive";
    EXPECT_EQ(LangReader({L"", L"\nQorvic  1.10"}).LanguageVersionOk(kTag), std::nullopt)
        << "only line 0 counts";
    EXPECT_EQ(LangReader().LanguageVersionOk(kTag), std::nullopt);
}

TEST(NextLangEntry, StartsAtLineOneAndFailsPastTheEnd) {
    LangReader reader({L"v", L"\na= one", L"\nb= two"});
    EXPECT_EQ(reader.NextLangEntry(), L"one");
    EXPECT_EQ(reader.NextLangEntry(), L"two");
    EXPECT_EQ(reader.LangLineNo, 2);
    EXPECT_EQ(reader.NextLangEntry(), std::nullopt);
}

TEST(LanguageTables, OnlyTheEightExactNamesHaveFiles) {
    for (const auto& name : kEight)
        EXPECT_EQ(LanguageFileName(name), L"Qorvic_" + name + L".Language");
    EXPECT_EQ(LanguageFileName(L"english"), L"");
    EXPECT_EQ(LanguageFileName(L"Italian"), L"");
    EXPECT_EQ(LanguageFileName(L""), L"");
    EXPECT_EQ(LanguageFileName(L"English "), L"");
}

TEST(LanguageTables, FrenchAndDutchHaveTheirOwnFailureTextsTheRestEnglish) {
    EXPECT_EQ(FailureTextsFor(L"French").notFound, L"Fichier langage non trouv\u00e9 ou corrompu.");
    EXPECT_EQ(FailureTextsFor(L"French").wrongVersion, L"Mauvaise version de fichier langage.");
    EXPECT_EQ(FailureTextsFor(L"Dutch").notFound, L"Taalbestand ontbreekt of corrupt.");
    EXPECT_EQ(FailureTextsFor(L"Dutch").wrongVersion, L"Foute taalbestand versie.");
    for (const wchar_t* name :
         {L"English", L"Spanish", L"German", L"Polish", L"Japanese", L"Russian"}) {
        EXPECT_EQ(FailureTextsFor(name).notFound, L"Language file not found or corrupt") << name;
        EXPECT_EQ(FailureTextsFor(name).wrongVersion, L"Wrong language file version.") << name;
    }
    EXPECT_EQ(FailureTextsFor(L"Italian").notFound, L"");
    EXPECT_EQ(FailureTextsFor(L"Italian").wrongVersion, L"");
}

TEST(LanguageDecodingChoice, EachLanguageHasItsCodePageAndABomMeansUtf8) {
    const std::string plain = "Qorvic";
    EXPECT_EQ(ChooseLanguageDecoding(L"English", plain).codePage, 1252u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Spanish", plain).codePage, 1252u);
    EXPECT_EQ(ChooseLanguageDecoding(L"German", plain).codePage, 1252u);
    EXPECT_EQ(ChooseLanguageDecoding(L"French", plain).codePage, 1252u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Dutch", plain).codePage, 1252u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Polish", plain).codePage, 1250u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Russian", plain).codePage, 1251u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Japanese", plain).codePage, 932u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Italian", plain).codePage, kSystemCodePage);
    EXPECT_EQ(ChooseLanguageDecoding(L"japanese", plain).codePage, kSystemCodePage);
    EXPECT_EQ(ChooseLanguageDecoding(L"English", plain).skipBytes, 0u);

    const LanguageDecoding bom = ChooseLanguageDecoding(L"Russian", "\xEF\xBB\xBFQorvic");
    EXPECT_EQ(bom.codePage, kUtf8CodePage);
    EXPECT_EQ(bom.skipBytes, 3u);
    EXPECT_EQ(ChooseLanguageDecoding(L"Russian", "\xEF\xBB").codePage, 1251u)
        << "a cut-off mark is no mark";
}

TEST(LoadLanguage, CompleteFileSetsAllTextsWithTheirMarkers) {
    const std::string file = MakeFile(19) + "Line after the entries= ignored\r\n";
    const LanguageLoadResult r = Load(file);
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_FALSE(r.wrongVersion);
    EXPECT_EQ(r.selectedFailureText, L"");
    EXPECT_EQ(r.texts.LanguageMenu,
              (std::vector<std::wstring>{L"t1", L"t2", L"t3", L"t4", L"t5", L"t6", L"t7", L"t8"}));
    EXPECT_EQ(r.texts.TxtHandOff, L"t9");
    EXPECT_EQ(r.texts.TxtCopy, L"t10");
    EXPECT_EQ(r.texts.TxtSaveAs, L"t11");
    EXPECT_EQ(r.texts.TxtFormats, L"t12=");
    EXPECT_EQ(r.texts.TxtScaling, L"t13=");
    EXPECT_EQ(r.texts.TxtColour, L"t14=");
    EXPECT_EQ(r.texts.TxtLanguages, L"t15");
    EXPECT_EQ(r.optionsCaption, L"t16");
    EXPECT_EQ(r.screenCaption, L"t17");
    EXPECT_EQ(r.texts.TxtNewVersion, L"t18 ");
    EXPECT_EQ(r.texts.TxtEquals, L"t19");
    EXPECT_EQ(r.reader.LangLineNo, 19);
}

TEST(LoadLanguage, WrongVersionSelectsItsTextAndStillLoads) {
    const LanguageLoadResult r =
        Load(MakeFile(19, "Qorvic  1.10 then Qorvic  1.09"), kEight, L"French");
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_TRUE(r.wrongVersion);
    EXPECT_EQ(r.selectedFailureText, L"Mauvaise version de fichier langage.");
    EXPECT_EQ(r.texts.TxtEquals, L"t19");
    EXPECT_EQ(r.screenCaption, L"t17");
}

TEST(LoadLanguage, FailuresBeforeTheTextsChangeNothing) {
    struct Case {
        const char* what;
        std::optional<std::string> bytes;
        std::wstring language;
        std::wstring failureText;
    };
    const std::wstring notFound = L"Language file not found or corrupt";
    const std::vector<Case> cases = {
        {"missing file", std::nullopt, L"English", notFound},
        {"empty file", std::string(), L"English", notFound},
        {"no product name in line 0", MakeFile(19, "Version 1.10"), L"English", notFound},
        {"product name only in line 1", "v\r\nQorvic  1.10= x\r\n", L"English", notFound},
        {"name outside the eight", MakeFile(19), L"Italian", L""},
        {"name in other case", MakeFile(19), L"english", L""},
        {"Dutch missing", std::nullopt, L"Dutch", L"Taalbestand ontbreekt of corrupt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LanguageLoadResult r = Load(c.bytes, kEight, c.language);
        EXPECT_EQ(r.stop, LanguageLoadStop::BeforeTexts);
        EXPECT_EQ(r.selectedFailureText, c.failureText);
        EXPECT_EQ(r.texts.LanguageMenu, OldTexts().LanguageMenu);
        ExpectNonMenuTextsUnchanged(r.texts);
        EXPECT_FALSE(r.optionsCaption.has_value());
        EXPECT_FALSE(r.screenCaption.has_value());
    }
}

TEST(LoadLanguage, SevenListEntriesFillSevenSlotsAndStop) {
    const std::vector<std::wstring> seven(kEight.begin(), kEight.begin() + 7);
    const LanguageLoadResult r = Load(MakeFile(19), seven);
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_EQ(r.selectedFailureText, L"Language file not found or corrupt");
    EXPECT_EQ(r.texts.LanguageMenu,
              (std::vector<std::wstring>{L"t1", L"t2", L"t3", L"t4", L"t5", L"t6", L"t7"}));
    ExpectNonMenuTextsUnchanged(r.texts);
    EXPECT_FALSE(r.optionsCaption.has_value());
    EXPECT_FALSE(r.screenCaption.has_value());
}

TEST(LoadLanguage, NineListEntriesLoadFullyAndTheNinthRowKeepsItsListName) {
    std::vector<std::wstring> nine = kEight;
    nine.insert(nine.begin() + 4, L"Italian");
    const LanguageLoadResult r = Load(MakeFile(19), nine);
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    ASSERT_EQ(r.texts.LanguageMenu.size(), 9u);
    EXPECT_EQ(r.texts.LanguageMenu[4], L"t5") << "the Italian row takes the file's fifth name";
    EXPECT_EQ(r.texts.LanguageMenu[7], L"t8");
    EXPECT_EQ(r.texts.LanguageMenu[8], L"Spanish") << "no blank row";
    EXPECT_EQ(r.texts.TxtEquals, L"t19");
}

TEST(LoadLanguage, LineFeedOnlyFileResetsTheMenuToListNamesAndNothingElse) {
    const LanguageLoadResult r = Load(MakeFile(19, "x Qorvic  1.10", "\n"));
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_TRUE(r.wrongVersion) << "the whole file is line 0";
    EXPECT_EQ(r.selectedFailureText, L"Language file not found or corrupt");
    EXPECT_EQ(r.texts.LanguageMenu, kEight);
    ExpectNonMenuTextsUnchanged(r.texts);
}

TEST(LoadLanguage, ShortFileKeepsWhatItReadAndTheRestAsBefore) {
    // Ends after line 12 (the formats entry): captions and later texts stay.
    auto withoutLastLineEnd = [](std::string file) { return file.substr(0, file.size() - 2); };
    LanguageLoadResult r = Load(withoutLastLineEnd(MakeFile(12)));
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_EQ(r.texts.TxtHandOff, L"t9");
    EXPECT_EQ(r.texts.TxtFormats, L"t12=");
    EXPECT_EQ(r.texts.TxtScaling, L"oldScaling=");
    EXPECT_EQ(r.texts.TxtEquals, L"oldEquals");
    EXPECT_FALSE(r.optionsCaption.has_value());

    // The final line end starts one more line: its lone line feed reads as an empty entry.
    r = Load(MakeFile(12));
    EXPECT_EQ(r.texts.TxtScaling, L"=");
    EXPECT_EQ(r.texts.TxtColour, L"oldColour=");

    // Ends after line 16: the options caption is applied, the check box's is not.
    r = Load(withoutLastLineEnd(MakeFile(16)));
    EXPECT_EQ(r.stop, LanguageLoadStop::PartWay);
    EXPECT_EQ(r.optionsCaption, L"t16");
    EXPECT_FALSE(r.screenCaption.has_value());
    EXPECT_EQ(r.texts.TxtLanguages, L"t15");
    EXPECT_EQ(r.texts.TxtNewVersion, L"oldNew ");

    // Ends inside the names: later rows show the list's names, not blanks.
    r = Load(withoutLastLineEnd(MakeFile(3)));
    EXPECT_EQ(r.texts.LanguageMenu,
              (std::vector<std::wstring>{L"t1", L"t2", L"t3", L"German", L"Japanese", L"Polish",
                                         L"Russian", L"Spanish"}));
    ExpectNonMenuTextsUnchanged(r.texts);
}

TEST(LoadLanguage, EmptyNameInTheFileShowsTheListName) {
    std::string file = MakeFile(19);
    const std::string second = "Label 2= t2\r\n";
    file.replace(file.find(second), second.size(), "Label 2=\r\n");
    const LanguageLoadResult r = Load(file);
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_EQ(r.texts.LanguageMenu[1], L"Dutch");
    EXPECT_EQ(r.texts.LanguageMenu[2], L"t3");
}

TEST(LoadLanguage, DecodesInTheLanguagesCodePageOrAsUtf8AfterAMark) {
    RecordingDecoder decoder;
    const std::string file = MakeFile(19);
    LoadLanguageTexts(OldTexts(), L"Polish", file, decoder.Fn(), kTag, kEight);
    EXPECT_EQ(decoder.codePage, 1250u);
    EXPECT_EQ(decoder.bytes, file);

    const LanguageLoadResult r = LoadLanguageTexts(OldTexts(), L"Japanese", "\xEF\xBB\xBF" + file,
                                                   decoder.Fn(), kTag, kEight);
    EXPECT_EQ(decoder.codePage, kUtf8CodePage);
    EXPECT_EQ(decoder.bytes, file) << "the mark itself is not decoded";
    EXPECT_EQ(r.stop, LanguageLoadStop::Complete);
    EXPECT_FALSE(r.wrongVersion);
}
