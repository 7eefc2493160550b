// Start-up's language list and picks from the language submenu, over sets of
// language files held in memory.
#include "languages.h"
#include "languages/language_choice.h"
#include "languages/language_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::testing;

namespace {

using Names = std::vector<std::wstring>;
const std::wstring kFolderPath = L"C:\\Data\\Qorvic\\Languages";
const std::wstring kNotFound = L"Language file not found or corrupt";

// A complete file in which every text says whose it is: "Zulu:Dutch" is the
// Zulu file's name for Dutch, "Zulu 9" its first menu text.
std::string FileFor(const std::wstring& language, int entries = 19) {
    const std::string lang = Narrow(language);
    return LanguageFile("Language file " + lang + " - Qorvic  1.10", entries, [&](int i) {
        return i <= 8 ? lang + ":" + Narrow(kEightLanguages[i - 1])
                      : lang + " " + std::to_string(i);
    });
}

// A language folder in memory: a file without bytes is listed but unreadable.
struct Folder {
    std::map<std::wstring, std::optional<std::string>> files;

    explicit Folder(const Names& languages) {
        for (const std::wstring& language : languages)
            files[LanguageFileName(language)] = FileFor(language);
    }
    LanguageFolder Reader() const {
        return {kFolderPath,
                [this](const std::wstring& name) -> std::optional<std::string> {
                    const auto found = files.find(name);
                    return found == files.end() ? std::nullopt : found->second;
                },
                [](std::string_view bytes, unsigned) { return Latin1(bytes); }};
    }
    LanguageState Started() const {
        // Backwards, so the list cannot lean on the order a folder is listed in.
        Names names;
        for (auto file = files.rbegin(); file != files.rend(); ++file)
            names.push_back(file->first);
        LanguageState state;
        StartLanguages(state, names);
        return state;
    }
};

} // namespace

// Which files give which list is the language list's test; here every row of a
// list without English's and Dutch's files and with a ninth language. That no
// text is left blank: the loader's tests.
TEST(LanguageChoice, EveryRowLoadsItsOwnLanguage) {
    const Folder folder(
        {L"Afrikaans", L"French", L"German", L"Japanese", L"Polish", L"Russian", L"Spanish"});
    LanguageState state = folder.Started();
    EXPECT_EQ(state.texts.LanguageMenu, state.languageList) << "before a load: the list";
    EXPECT_EQ(state.texts.TxtHandOff, L"Send to Norvane") << "built-in English until a load";

    for (std::size_t row = 0; row < state.languageList.size(); ++row) {
        const std::wstring& picked = state.languageList[row];
        SCOPED_TRACE(Narrow(picked));
        const LanguageApply apply =
            SelectLanguageFrom(state, static_cast<std::int16_t>(row), folder.Reader());
        EXPECT_EQ(state.CurrentLanguage, picked);
        EXPECT_FALSE(apply.failed) << Narrow(apply.failureText);
        EXPECT_TRUE(apply.applyOptions && apply.applyScreen);
        const bool hasFile = folder.files.count(LanguageFileName(picked)) != 0;
        EXPECT_EQ(state.texts.TxtCopy, hasFile ? picked + L" 10" : L"Copy to clipboard");
        // Each row shows the picked file's name for the very language it selects.
        ASSERT_EQ(state.texts.LanguageMenu.size(), state.languageList.size());
        for (std::size_t other = 0; other < state.languageList.size(); ++other) {
            const std::wstring& language = state.languageList[other];
            const bool named = std::count(kEightLanguages.begin(), kEightLanguages.end(), language);
            EXPECT_EQ(state.texts.LanguageMenu[other],
                      hasFile && named ? picked + L":" + language : language)
                << "row " << other;
        }
    }
    // A row just outside the list selects nothing.
    const std::wstring kept = state.CurrentLanguage;
    for (const int row : {-1, static_cast<int>(state.languageList.size())}) {
        EXPECT_FALSE(
            SelectLanguageFrom(state, static_cast<std::int16_t>(row), folder.Reader()).failed);
        EXPECT_EQ(state.CurrentLanguage, kept);
    }
}

// A language without failure texts of its own is told in English.
TEST(LanguageChoice, OnlyAChosenFileThatCannotBeReadIsToldAndByName) {
    const struct {
        const char* what;
        std::wstring broken, told;
        std::optional<std::string> bytes;
        bool textsTaken; // the readable part replaces the texts
    } cases[] = {
        {"unreadable", L"Dutch", L"Taalbestand ontbreekt of corrupt.", std::nullopt, false},
        {"not a language file", L"Afrikaans", kNotFound, "text\r\n= x\r\n", false},
        {"ending after its twelfth entry", L"Afrikaans", kNotFound, FileFor(L"Afrikaans", 12),
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Names nine = kEightLanguages;
        nine.push_back(L"Afrikaans");
        Folder folder(nine);
        folder.files[LanguageFileName(c.broken)] = c.bytes;
        LanguageState state = folder.Started();
        const LanguageTexts before = state.texts;
        const auto row = std::find(state.languageList.begin(), state.languageList.end(), c.broken) -
                         state.languageList.begin();
        const LanguageApply apply =
            SelectLanguageFrom(state, static_cast<std::int16_t>(row), folder.Reader());
        EXPECT_TRUE(apply.failed);
        EXPECT_EQ(apply.failureText,
                  c.told + L"\n" + kFolderPath + L"\\" + LanguageFileName(c.broken));
        if (c.textsTaken) {
            EXPECT_TRUE(apply.applyOptions && apply.applyScreen);
            EXPECT_EQ(state.texts.TxtFormats, c.broken + L" 12=");
            EXPECT_EQ(state.texts.TxtScaling, L"Output size=") << "the rest is built in";
        } else {
            EXPECT_FALSE(apply.applyOptions || apply.applyScreen);
            EXPECT_EQ(NonMenuTexts(state.texts), NonMenuTexts(before));
        }
    }
}
