// Start-up's language list and picks from the language submenu, over sets of
// language files held in memory.
#include "languages.h"
#include "languages/language_choice.h"

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

std::wstring FileOf(const std::wstring& language) {
    return L"Qorvic_" + language + L".Language";
}

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
            files[FileOf(language)] = FileFor(language);
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

Names Plus(Names names, const std::wstring& more) {
    names.push_back(more);
    return names;
}

struct FileSet {
    const char* what;
    Names languages; // one file each
    Names list;      // the language list they give
};

Names Without(Names names, const std::wstring& left) {
    names.erase(std::find(names.begin(), names.end(), left));
    return names;
}

const std::vector<FileSet>& FileSets() {
    static const std::vector<FileSet> sets = {
        {"the shipped eight", kEightLanguages, kEightLanguages},
        {"seven without Dutch", Without(kEightLanguages, L"Dutch"),
         Without(kEightLanguages, L"Dutch")},
        {"seven without English, which is built in", Without(kEightLanguages, L"English"),
         kEightLanguages},
        {"nine with Afrikaans ahead of Dutch",
         Plus(kEightLanguages, L"Afrikaans"),
         {L"English", L"Afrikaans", L"Dutch", L"French", L"German", L"Japanese", L"Polish",
          L"Russian", L"Spanish"}},
        {"one file only", {L"German"}, {L"English", L"German"}},
        {"none", {}, {L"English"}},
    };
    return sets;
}

bool Blank(const std::wstring& text) {
    return text.find_first_not_of(L" =>") == std::wstring::npos;
}

// Every caption the program can show from the language texts has something to show.
void ExpectNoBlankCaption(const LanguageTexts& texts, const LanguageApply& apply) {
    for (const std::wstring& text : NonMenuTexts(texts))
        EXPECT_FALSE(Blank(text)) << "text \"" << Narrow(text) << "\"";
    for (const std::wstring& row : texts.LanguageMenu)
        EXPECT_FALSE(Blank(row)) << "a blank language row";
    EXPECT_TRUE(apply.applyOptions && !Blank(apply.optionsCaption));
    EXPECT_TRUE(apply.applyScreen && !Blank(apply.screenCaption));
}

} // namespace

TEST(LanguageChoice, EveryRowOfEverySetOfFilesLoadsItsOwnLanguage) {
    for (const FileSet& set : FileSets()) {
        SCOPED_TRACE(set.what);
        const Folder folder(set.languages);
        LanguageState state = folder.Started();
        ASSERT_EQ(state.languageList, set.list);
        EXPECT_EQ(state.texts.LanguageMenu, set.list) << "before a load the rows show the list";
        EXPECT_EQ(state.texts.TxtHandOff, L"Send to Norvane") << "built-in English until a load";

        for (std::size_t row = 0; row < set.list.size(); ++row) {
            const std::wstring& picked = set.list[row];
            SCOPED_TRACE(Narrow(picked));
            const LanguageApply apply =
                SelectLanguageFrom(state, static_cast<std::int16_t>(row), folder.Reader());
            EXPECT_EQ(state.CurrentLanguage, picked);
            EXPECT_FALSE(apply.failed) << Narrow(apply.failureText);
            ExpectNoBlankCaption(state.texts, apply);
            const bool hasFile = folder.files.count(FileOf(picked)) != 0;
            EXPECT_EQ(state.texts.TxtCopy, hasFile ? picked + L" 10" : L"Copy to clipboard");
            // Each row shows the picked file's name for the very language it selects.
            ASSERT_EQ(state.texts.LanguageMenu.size(), set.list.size());
            for (std::size_t other = 0; other < set.list.size(); ++other) {
                const std::wstring& language = set.list[other];
                const bool named =
                    std::count(kEightLanguages.begin(), kEightLanguages.end(), language);
                EXPECT_EQ(state.texts.LanguageMenu[other],
                          hasFile && named ? picked + L":" + language : language)
                    << "row " << other;
            }
        }
        // A row just outside the list selects nothing.
        const std::wstring kept = state.CurrentLanguage;
        for (const int row : {-1, static_cast<int>(set.list.size())}) {
            EXPECT_FALSE(
                SelectLanguageFrom(state, static_cast<std::int16_t>(row), folder.Reader()).failed);
            EXPECT_EQ(state.CurrentLanguage, kept);
        }
    }
}

TEST(LanguageChoice, OnlyAChosenFileThatCannotBeReadIsToldAndByName) {
    const struct {
        const char* what;
        std::optional<std::string> (*bytes)(const std::wstring& language);
        bool textsTaken; // the readable part replaces the texts
    } breakages[] = {
        {"unreadable", [](const std::wstring&) -> std::optional<std::string> { return {}; }, false},
        {"not a language file",
         [](const std::wstring&) -> std::optional<std::string> { return "text\r\n= x\r\n"; },
         false},
        {"ending after its twelfth entry",
         [](const std::wstring& l) -> std::optional<std::string> { return FileFor(l, 12); }, true},
    };
    for (const std::wstring& broken : {std::wstring(L"Dutch"), std::wstring(L"Afrikaans")}) {
        for (const auto& b : breakages) {
            SCOPED_TRACE(Narrow(broken) + " " + b.what);
            Folder folder(Plus(kEightLanguages, L"Afrikaans"));
            folder.files[FileOf(broken)] = b.bytes(broken);
            LanguageState state = folder.Started();
            const LanguageTexts before = state.texts;
            const auto row =
                std::find(state.languageList.begin(), state.languageList.end(), broken) -
                state.languageList.begin();
            const LanguageApply apply =
                SelectLanguageFrom(state, static_cast<std::int16_t>(row), folder.Reader());
            EXPECT_TRUE(apply.failed);
            EXPECT_NE(apply.failureText.find(kFolderPath + L"\\" + FileOf(broken)),
                      std::wstring::npos)
                << Narrow(apply.failureText);
            // A language without failure texts of its own is told in English.
            const std::wstring told = broken == L"Dutch" ? L"Taalbestand ontbreekt of corrupt."
                                                         : L"Language file not found or corrupt";
            EXPECT_EQ(apply.failureText.rfind(told, 0), 0u) << Narrow(apply.failureText);
            if (b.textsTaken) {
                ExpectNoBlankCaption(state.texts, apply);
                EXPECT_EQ(state.texts.TxtFormats, broken + L" 12=");
                EXPECT_EQ(state.texts.TxtScaling, L"Output size=") << "the rest is built in";
            } else {
                EXPECT_FALSE(apply.applyOptions || apply.applyScreen);
                EXPECT_EQ(NonMenuTexts(state.texts), NonMenuTexts(before));
            }
        }
    }
}
