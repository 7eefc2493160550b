// The language loader on Windows: the shipped files installed in a data folder
// of their own, listed, read and decoded through the program's Win32 code.
#include "base/file_io_win.h"
#include "languages/language_file.h"
#include "languages/languages_win.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;
namespace fs = std::filesystem;

namespace {

class LanguageLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring appData = FreshFolder(L"languages");
        InstallLanguages(appData);
        dataFolder_ = appData + L"Qorvic";
    }
    fs::path Languages() const { return fs::path(dataFolder_) / "Languages"; }

    std::wstring dataFolder_;
    LanguageState state_;
};

} // namespace

TEST_F(LanguageLoaderTest, EveryShippedFileDecodesToItsSourceText) {
    BuildLanguageList(state_, dataFolder_);
    ASSERT_EQ(state_.languageList, kShippedLanguages);
    EXPECT_EQ(state_.texts.LanguageMenu, kShippedLanguages);

    for (const std::wstring& language : kShippedLanguages) {
        SCOPED_TRACE(std::string(language.begin(), language.end()));
        const std::vector<std::wstring> want = SourceEntries(language);
        ASSERT_EQ(want.size(), 19u);
        state_.CurrentLanguage = language;
        const LanguageApply apply = LoadLanguage(state_, dataFolder_);
        EXPECT_FALSE(apply.failed)
            << std::string(apply.failureText.begin(), apply.failureText.end());
        const LanguageTexts& t = state_.texts;
        for (std::size_t i = 0; i < 8; ++i)
            EXPECT_TRUE(t.LanguageMenu[i] == want[i]) << "slot " << i;
        EXPECT_TRUE(t.TxtHandOff == want[8]);
        EXPECT_TRUE(t.TxtCopy == want[9]);
        EXPECT_TRUE(t.TxtSaveAs == want[10]);
        EXPECT_TRUE(t.TxtFormats == want[11] + L"=");
        EXPECT_TRUE(t.TxtScaling == want[12] + L"=");
        EXPECT_TRUE(t.TxtColour == want[13] + L"=");
        EXPECT_TRUE(t.TxtLanguages == want[14]);
        EXPECT_TRUE(apply.applyOptions && apply.optionsCaption == want[15]);
        EXPECT_TRUE(apply.applyScreen && apply.screenCaption == want[16]);
        EXPECT_TRUE(t.TxtNewVersion == want[17] + L" ");
        EXPECT_TRUE(t.TxtEquals == want[18]);
    }
    // Russian and Japanese prove the fixed code pages: whatever the system's
    // code page, these are Cyrillic and kana/kanji.
    state_.CurrentLanguage = L"Russian";
    EXPECT_EQ(LoadLanguage(state_, dataFolder_).optionsCaption,
              L"\u041f\u0430\u0440\u0430\u043c\u0435\u0442\u0440\u044b");
    state_.CurrentLanguage = L"Japanese";
    EXPECT_EQ(LoadLanguage(state_, dataFolder_).optionsCaption, L"\u30aa\u30d7\u30b7\u30e7\u30f3");
}

TEST_F(LanguageLoaderTest, SelectingFromTheMenuSwitchesAndReturnsTheCaptions) {
    BuildLanguageList(state_, dataFolder_);
    state_.CurrentLanguage = L"English";
    EXPECT_EQ(LoadLanguage(state_, dataFolder_).optionsCaption, L"Options");

    const LanguageApply german = SelectLanguage(state_, dataFolder_, 3);
    EXPECT_EQ(state_.CurrentLanguage, L"German");
    EXPECT_FALSE(german.failed);
    EXPECT_EQ(german.optionsCaption, L"Optionen");
    EXPECT_EQ(german.screenCaption, L"Ganzen Bildschirm aufnehmen");
    EXPECT_EQ(state_.texts.LanguageMenu[0], L"Englisch");

    const LanguageApply outside = SelectLanguage(state_, dataFolder_, 8);
    EXPECT_FALSE(outside.applyOptions || outside.failed);
    EXPECT_EQ(state_.CurrentLanguage, L"German") << "an index outside the list changes nothing";
    SelectLanguage(state_, dataFolder_, -1);
    EXPECT_EQ(state_.CurrentLanguage, L"German");
}

TEST_F(LanguageLoaderTest, AMissingFileKeepsTheTextsAndIsToldByName) {
    BuildLanguageList(state_, dataFolder_);
    state_.CurrentLanguage = L"French";
    LoadLanguage(state_, dataFolder_);
    const LanguageTexts french = state_.texts;

    fs::remove(Languages() / "Qorvic_Dutch.Language");
    const LanguageApply dutch = SelectLanguage(state_, dataFolder_, 1);
    EXPECT_EQ(state_.CurrentLanguage, L"Dutch");
    EXPECT_TRUE(dutch.failed);
    EXPECT_FALSE(dutch.applyOptions || dutch.applyScreen);
    EXPECT_EQ(dutch.failureText, L"Taalbestand ontbreekt of corrupt.\n" + dataFolder_ +
                                     L"\\Languages\\Qorvic_Dutch.Language");
    EXPECT_EQ(state_.texts.TxtSaveAs, french.TxtSaveAs);
    EXPECT_EQ(state_.texts.LanguageMenu, french.LanguageMenu);
}

TEST_F(LanguageLoaderTest, Utf8FileWithAMarkOverridesTheCodePage) {
    const std::string source =
        ReadFileBytes((ShippedLanguageFolder() / "src" / "Polish.txt").wstring()).value_or("");
    std::string file = "\xEF\xBB\xBF";
    for (char c : source) {
        if (c == '\n')
            file += '\r';
        file += c;
    }
    std::ofstream(Languages() / "Qorvic_Polish.Language", std::ios::binary) << file;
    BuildLanguageList(state_, dataFolder_);
    state_.CurrentLanguage = L"Polish";
    const LanguageApply apply = LoadLanguage(state_, dataFolder_);
    EXPECT_FALSE(apply.failed);
    EXPECT_EQ(state_.texts.LanguageMenu[4], L"Japo\u0144ski");
    EXPECT_EQ(apply.screenCaption, L"Przechwy\u0107 ca\u0142y ekran");
}

TEST_F(LanguageLoaderTest, ListingSkipsFoldersAndHiddenFiles) {
    fs::create_directory(Languages() / "Qorvic_Folder.Language");
    const fs::path hidden = Languages() / "Qorvic_Hidden.Language";
    std::ofstream(hidden) << "x";
    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    BuildLanguageList(state_, dataFolder_);
    EXPECT_EQ(state_.languageList, kShippedLanguages);
    EXPECT_FALSE(ReadWholeFile((Languages() / "Qorvic_Folder.Language").wstring()).has_value());
}

TEST_F(LanguageLoaderTest, NoLanguageFolderLeavesTheBuiltInEnglish) {
    fs::remove_all(Languages());
    state_.CurrentLanguage = L"0";
    BuildLanguageList(state_, dataFolder_);
    EXPECT_EQ(state_.CurrentLanguage, L"English") << "the old number 0 means English";
    EXPECT_EQ(state_.languageList, std::vector<std::wstring>{L"English"});
    EXPECT_EQ(state_.texts.LanguageMenu, std::vector<std::wstring>{L"English"});
    const LanguageApply apply = LoadLanguage(state_, dataFolder_);
    EXPECT_FALSE(apply.failed);
    EXPECT_EQ(apply.optionsCaption, L"Options");
    EXPECT_EQ(state_.texts.TxtHandOff, L"Send to Norvane");
}

TEST(LanguageDecoder, DecodesTheFourCodePagesAndFallsBackForUnknownOnes) {
    EXPECT_EQ(DecodeLanguageBytes("\xe4\xdf", 1252), L"\u00e4\u00df");
    EXPECT_EQ(DecodeLanguageBytes("\xb3\xf1", 1250), L"\u0142\u0144");
    EXPECT_EQ(DecodeLanguageBytes("\xc6\xe7", 1251), L"\u0416\u0437");
    EXPECT_EQ(DecodeLanguageBytes("\x93\xfa\x96\x7b", 932), L"\u65e5\u672c");
    EXPECT_EQ(DecodeLanguageBytes("\xc3\xa4", 65001), L"\u00e4");
    // The system's code page is the ANSI one, also for a code page that does not exist.
    EXPECT_EQ(DecodeLanguageBytes("a\xe4", 0), AnsiToWide("a\xe4"));
    EXPECT_EQ(DecodeLanguageBytes("a\xe4", 59999), AnsiToWide("a\xe4"));
    EXPECT_EQ(DecodeLanguageBytes("", 1252), L"");
}
