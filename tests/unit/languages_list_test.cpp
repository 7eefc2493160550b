#include "languages/language_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qorvic;

namespace {

using Names = std::vector<std::wstring>;

Names Files(const Names& languages) {
    Names files;
    for (const auto& language : languages)
        files.push_back(L"Qorvic_" + language + L".Language");
    return files;
}

const Names kStandardOrder = {L"English",  L"Dutch",  L"French",  L"German",
                              L"Japanese", L"Polish", L"Russian", L"Spanish"};

} // namespace

TEST(LanguageList, StandardFilesGiveEnglishFirstThenTheRestByName) {
    // In an order no file system delivers, to show the listing is sorted first.
    Names files = Files({L"Spanish", L"German", L"English", L"Russian", L"Dutch", L"Polish",
                         L"French", L"Japanese"});
    EXPECT_EQ(LanguageListFromFileNames(files), kStandardOrder);
    std::reverse(files.begin(), files.end());
    EXPECT_EQ(LanguageListFromFileNames(files), kStandardOrder);
}

TEST(LanguageList, WithoutDutchFrenchIsRemovedAndEnglishListedTwice) {
    const Names files =
        Files({L"English", L"French", L"German", L"Japanese", L"Polish", L"Russian", L"Spanish"});
    EXPECT_EQ(
        LanguageListFromFileNames(files),
        (Names{L"English", L"English", L"German", L"Japanese", L"Polish", L"Russian", L"Spanish"}));
}

TEST(LanguageList, NameEndsAtTheFirstDotSoAFurtherExtensionDuplicates) {
    Names files = Files(kStandardOrder);
    files.push_back(L"Qorvic_English.Language.bak");
    EXPECT_EQ(LanguageListFromFileNames(files),
              (Names{L"English", L"Dutch", L"English", L"French", L"German", L"Japanese", L"Polish",
                     L"Russian", L"Spanish"}));
}

TEST(LanguageList, OnlyNamesWithTheExactPrefixAndADotBehindTheSeparatorCount) {
    Names files = Files(kStandardOrder);
    for (const wchar_t* other :
         {L"qorvic_Italian.Language", L"QORVIC_Greek.Language", L"readme.txt", L"Qorvic_NoDot",
          L"Qorvic.Language", L"Qorvic", L"Qorvic_", L"Qorvi_Czech.Language"})
        files.push_back(other);
    EXPECT_EQ(LanguageListFromFileNames(files), kStandardOrder);
}

TEST(LanguageList, DotRightBehindTheSeparatorGivesAnEmptyName) {
    const LanguageNameCut cut = CutLanguageName(L"Qorvic_.Language");
    EXPECT_TRUE(cut.isLanguageFile);
    EXPECT_EQ(cut.name, L"");
    EXPECT_EQ(CutLanguageName(L"Qorvic-German.Language").name, L"German")
        << "the separator may be any character";
    EXPECT_FALSE(CutLanguageName(L"Qorvic.Language").isLanguageFile);
    EXPECT_EQ(CutLanguageName(L"Qorvic_de.x.y").name, L"de");
}

TEST(LanguageList, UnknownLanguageTakesItsPlaceInTheOrder) {
    Names files = Files(kStandardOrder);
    files.push_back(L"Qorvic_Italian.Language");
    EXPECT_EQ(LanguageListFromFileNames(files),
              (Names{L"English", L"Dutch", L"French", L"German", L"Italian", L"Japanese", L"Polish",
                     L"Russian", L"Spanish"}));
}

TEST(LanguageList, EmptyOrSingleListingsStillStartWithEnglish) {
    EXPECT_EQ(LanguageListFromFileNames({}), (Names{L"English"}));
    EXPECT_EQ(LanguageListFromFileNames({L"notes.txt"}), (Names{L"English"}));
    EXPECT_EQ(LanguageListFromFileNames(Files({L"German"})), (Names{L"English", L"German"}))
        << "with one entry there is no second one to remove";
}

TEST(LanguageList, SortingIgnoresCaseButNotTheFileSystemOrder) {
    // Ordinal order would put "Qorvic_Zulu" before "Qorvic_afrikaans".
    const Names files = {L"Qorvic_Zulu.Language", L"Qorvic_English.Language",
                         L"Qorvic_afrikaans.Language"};
    EXPECT_EQ(LanguageListFromFileNames(files), (Names{L"English", L"afrikaans", L"Zulu"}));
}

TEST(LessOrdinalIgnoreCase, FoldsLettersOfTheLanguagesItMeets) {
    EXPECT_TRUE(LessOrdinalIgnoreCase(L"apple", L"Banana"));
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"Banana", L"apple"));
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"DUTCH", L"dutch"));
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"dutch", L"DUTCH"));
    EXPECT_TRUE(LessOrdinalIgnoreCase(L"Dutch", L"Dutch2"));
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"\u00e9", L"\u00c9")) << "e acute";
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"\u00c9", L"\u00e9"));
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"\u0142", L"\u0141")) << "Polish l with stroke";
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"\u0141", L"\u0142"));
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"\u017a", L"\u0179")) << "Polish z with acute";
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"\u0431", L"\u0411")) << "Cyrillic be";
    EXPECT_FALSE(LessOrdinalIgnoreCase(L"\u0451", L"\u0401")) << "Cyrillic yo";
    EXPECT_TRUE(LessOrdinalIgnoreCase(L"\u00d7", L"\u00f7"))
        << "multiplication and division signs are no letter pair";
}

TEST(LanguageNumber, OnlyZeroIsStillMapped) {
    EXPECT_EQ(ConvertLanguageNumber(L"0"), L"English");
    for (const wchar_t* kept : {L"1", L"3", L"6", L"7", L"00", L"-1", L"German", L""})
        EXPECT_EQ(ConvertLanguageNumber(kept), kept);
}
