// The main window in each shipped language: start-up reads the language from
// the settings file and shows the translated strip, a pick from the language
// menu changes the strip at once, and the choice survives a restart.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// The frame on a data folder with the shipped languages (all but `missing`)
// and `language` in its settings file.
class LanguageFrame : public TestFrame {
public:
    explicit LanguageFrame(const std::string& language, const std::wstring& missing = L"") {
        InstallLanguages(AppData(), missing);
        WriteFileAtomically(Settings(), "0\r\n" + language + "\r\n");
    }
    std::wstring Settings() const { return AppData() + L"Qorvic\\Qorvic.cfg"; }
    bool Restart() {
        form.reset();
        return Start(SW_SHOWNOACTIVATE);
    }
    // Entry `number` (1 to 19) of a language's source text.
    static std::wstring Entry(const std::wstring& language, int number) {
        return SourceEntries(language).at(static_cast<std::size_t>(number - 1));
    }
};

} // namespace

TEST(Form1Language, StartUpShowsTheSavedLanguageOnTheStrip) {
    for (const std::wstring& language : kShippedLanguages) {
        SCOPED_TRACE(std::string(language.begin(), language.end()));
        LanguageFrame frame(std::string(language.begin(), language.end()));
        ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
        EXPECT_EQ(frame->State().CurrentLanguage, language);
        EXPECT_TRUE(frame->lblOptions.Caption() == LanguageFrame::Entry(language, 16));
        EXPECT_TRUE(frame->ckScreen.Caption() == LanguageFrame::Entry(language, 17));
        EXPECT_TRUE(frame.messages.empty());
        frame->Form_Unload();
    }
}

TEST(Form1Language, PickingALanguageChangesTheStripAtOnceAndSurvivesARestart) {
    LanguageFrame frame("English");
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_EQ(frame->lblOptions.Caption(), L"Options");
    const int englishWidth = frame->lblOptions.Width();

    // The list: English, Dutch, French, German, Japanese, Polish, Russian, Spanish.
    frame->MnuLanguageClick(6, L"Russian");
    EXPECT_EQ(frame->State().CurrentLanguage, L"Russian");
    EXPECT_TRUE(frame->lblOptions.Caption() == LanguageFrame::Entry(L"Russian", 16));
    EXPECT_TRUE(frame->ckScreen.Caption() == LanguageFrame::Entry(L"Russian", 17));
    EXPECT_NE(frame->lblOptions.Width(), englishWidth) << "the label sizes itself to its new text";
    EXPECT_EQ(frame->ckScreen.Left(), frame->lblOptions.Width() + 20)
        << "the strip is laid out anew";
    frame->Form_Unload();

    EXPECT_EQ(ReadFileBytes(frame.Settings()).value_or(""), "0\r\nRussian\r\n");
    ASSERT_TRUE(frame.Restart());
    EXPECT_EQ(frame->State().CurrentLanguage, L"Russian");
    EXPECT_TRUE(frame->ckScreen.Caption() == LanguageFrame::Entry(L"Russian", 17));
    frame->Form_Unload();
}

TEST(Form1Language, AMissingLanguageFromTheMenuIsToldAndChangesNothing) {
    LanguageFrame frame("German");
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame->lblOptions.Caption() == LanguageFrame::Entry(L"German", 16));

    ::DeleteFileW((frame.AppData() + L"Qorvic\\Languages\\Qorvic_Polish.Language").c_str());
    frame->MnuLanguageClick(5, L"Polnisch");
    EXPECT_EQ(frame->State().CurrentLanguage, L"Polish");
    EXPECT_EQ(frame.messages, std::vector<std::wstring>{L"Language file not found or corrupt"});
    EXPECT_TRUE(frame->lblOptions.Caption() == LanguageFrame::Entry(L"German", 16));
    EXPECT_TRUE(frame->State().texts.LanguageMenu[0] == LanguageFrame::Entry(L"German", 1));

    frame->MnuLanguageClick(2, L"Französisch");
    EXPECT_EQ(frame.messages.size(), 1u);
    EXPECT_EQ(frame->lblOptions.Caption(), L"Options");
    frame->Form_Unload();
}

TEST(Form1Language, StartUpWithSevenLanguagesStaysSilentWithTheDesignCaptions) {
    // Without the Dutch file the list is English, English, German, ...: seven
    // entries, so the load stops after the names.
    LanguageFrame frame("German", L"Dutch");
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame.messages.empty());
    ASSERT_EQ(frame->State().languageList.size(), 7u);
    EXPECT_EQ(frame->lblOptions.Caption(), L"Options");
    EXPECT_EQ(frame->ckScreen.Caption(), L"Capture screen");
    EXPECT_TRUE(frame->State().texts.LanguageMenu[6] == LanguageFrame::Entry(L"German", 7));
    frame->Form_Unload();
}
