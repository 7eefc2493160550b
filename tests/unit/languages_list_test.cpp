#include "languages.h"
#include "languages/language_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qorvic;
using qorvic::testing::kEightLanguages;

namespace {

using Names = std::vector<std::wstring>;

Names Files(const Names& languages, std::initializer_list<const wchar_t*> more = {}) {
    Names files;
    for (const auto& language : languages)
        files.push_back(L"Qorvic_" + language + L".Language");
    files.insert(files.end(), more.begin(), more.end());
    return files;
}

} // namespace

TEST(LanguageList, ListingsAndTheListsTheyGive) {
    const struct {
        const char* what;
        Names files, list;
    } cases[] = {
        // In orders no file system delivers, to show the listing is sorted first.
        {"English first, the rest by name",
         Files({L"Spanish", L"German", L"English", L"Russian", L"Dutch", L"Polish", L"French",
                L"Japanese"}),
         kEightLanguages},
        {"the name ends at the first dot, so a further extension duplicates",
         Files(kEightLanguages, {L"Qorvic_English.Language.bak"}),
         {L"English", L"Dutch", L"English", L"French", L"German", L"Japanese", L"Polish",
          L"Russian", L"Spanish"}},
        {"only the exact prefix with a dot behind the separator counts",
         Files(kEightLanguages, {L"qorvic_Italian.Language", L"QORVIC_Greek.Language",
                                 L"readme.txt", L"Qorvic_NoDot", L"Qorvic.Language", L"Qorvic",
                                 L"Qorvic_", L"Qorvi_Czech.Language"}),
         kEightLanguages},
        {"the separator may be any character",
         Files({}, {L"Qorvic-German.Language"}),
         {L"English", L"German"}},
        {"an unknown language takes its place in the order",
         Files(kEightLanguages, {L"Qorvic_Italian.Language"}),
         {L"English", L"Dutch", L"French", L"German", L"Italian", L"Japanese", L"Polish",
          L"Russian", L"Spanish"}},
        {"an empty name would be a blank row", {L"Qorvic_.Language"}, {L"English"}},
        // Ordinal order would put "Qorvic_Zulu" before "Qorvic_afrikaans".
        {"sorting ignores case",
         Files({L"Zulu", L"English", L"afrikaans"}),
         {L"English", L"afrikaans", L"Zulu"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageListFromFileNames(c.files), c.list) << c.what;
        EXPECT_EQ(LanguageListFromFileNames(Names(c.files.rbegin(), c.files.rend())), c.list)
            << c.what << ", listed backwards";
    }
}

TEST(LessOrdinalIgnoreCase, FoldsLettersOfTheLanguagesItMeets) {
    EXPECT_TRUE(LessOrdinalIgnoreCase(L"Dutch", L"Dutch2"));
    // Pairs that differ in case only: e acute, Polish l with stroke and z with
    // acute, Cyrillic be and yo.
    const std::pair<const wchar_t*, const wchar_t*> sameIgnoringCase[] = {
        {L"DUTCH", L"dutch"},   {L"\u00e9", L"\u00c9"}, {L"\u0142", L"\u0141"},
        {L"\u017a", L"\u0179"}, {L"\u0431", L"\u0411"}, {L"\u0451", L"\u0401"},
    };
    for (const auto& [a, b] : sameIgnoringCase) {
        EXPECT_FALSE(LessOrdinalIgnoreCase(a, b)) << a;
        EXPECT_FALSE(LessOrdinalIgnoreCase(b, a)) << a;
    }
    EXPECT_TRUE(LessOrdinalIgnoreCase(L"\u00d7", L"\u00f7"))
        << "multiplication and division signs are no letter pair";
}

TEST(LanguageNumber, OnlyZeroIsStillMapped) {
    EXPECT_EQ(ConvertLanguageNumber(L"0"), L"English");
    for (const wchar_t* kept : {L"1", L"00", L"-1", L"German", L""})
        EXPECT_EQ(ConvertLanguageNumber(kept), kept);
}
