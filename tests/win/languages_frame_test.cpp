// The main window in each shipped language: start-up reads the language from
// the settings file and shows the translated strip, a pick from the language
// menu changes the strip at once, and the choice survives a restart. Other sets
// of language files: a ninth language, seven, a broken one.
#include "menus/menu_window_win.h"

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
    std::wstring LanguageFile(const std::wstring& language) const {
        return AppData() + L"Qorvic\\Languages\\Qorvic_" + language + L".Language";
    }
    // Opens the options menu and, from its language row, the language submenu.
    MenuWindow* OpenLanguages() {
        form->Menus().OpenOptionsMenu();
        MenuWindow* options = form->Menus().FirstLevel();
        if (!options || !options->rowLabel(6))
            return nullptr;
        options->rowLabel(6)->onMouseEnter();
        return form->Menus().SecondLevel();
    }
    std::vector<std::wstring> Captions(MenuWindow& menu) const {
        std::vector<std::wstring> captions;
        for (std::size_t row = 0; menu.rowLabel(row) && row < menu.Layout().rows.size(); ++row)
            captions.push_back(menu.rowLabel(row)->Caption());
        return captions;
    }
    std::vector<std::wstring> OptionsCaptions() {
        form->Menus().OpenOptionsMenu();
        MenuWindow* options = form->Menus().FirstLevel();
        std::vector<std::wstring> captions;
        if (options)
            captions = Captions(*options);
        form->Menus().CloseAll();
        return captions;
    }
    static void Release(MenuWindow& menu, std::size_t row) {
        menu.rowLabel(row)->onMouseUp(1, 0, 5, 5);
    }
};

} // namespace

TEST(FrameLanguage, StartUpShowsTheSavedLanguageOnTheStrip) {
    for (const std::wstring& language : kShippedLanguages) {
        SCOPED_TRACE(std::string(language.begin(), language.end()));
        LanguageFrame frame(std::string(language.begin(), language.end()));
        ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
        EXPECT_EQ(frame->State().languages.CurrentLanguage, language);
        EXPECT_TRUE(frame->optionsLabel.Caption() == LanguageFrame::Entry(language, 16));
        EXPECT_TRUE(frame->wholeScreenBox.Caption() == LanguageFrame::Entry(language, 17));
        EXPECT_TRUE(frame.messages.empty());
        frame->Shutdown();
    }
}

TEST(FrameLanguage, PickingALanguageChangesTheStripAtOnceAndSurvivesARestart) {
    LanguageFrame frame("English");
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_EQ(frame->optionsLabel.Caption(), L"Options");
    const int englishWidth = frame->optionsLabel.Width();

    // The list: English, Dutch, French, German, Japanese, Polish, Russian, Spanish.
    frame->OnMenuRowChosen(menus::kLanguageMenu, 6);
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Russian");
    EXPECT_TRUE(frame->optionsLabel.Caption() == LanguageFrame::Entry(L"Russian", 16));
    EXPECT_TRUE(frame->wholeScreenBox.Caption() == LanguageFrame::Entry(L"Russian", 17));
    EXPECT_NE(frame->optionsLabel.Width(), englishWidth)
        << "the label sizes itself to its new text";
    EXPECT_EQ(frame->wholeScreenBox.Left(), frame->optionsLabel.Width() + 20)
        << "the strip is laid out anew";
    frame->Shutdown();

    EXPECT_EQ(ReadFileBytes(frame.Settings()).value_or(""), "0\r\nRussian\r\n");
    ASSERT_TRUE(frame.Restart());
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Russian");
    EXPECT_TRUE(frame->wholeScreenBox.Caption() == LanguageFrame::Entry(L"Russian", 17));
    frame->Shutdown();
}

TEST(FrameLanguage, AMissingLanguageFromTheMenuIsToldAndChangesNothing) {
    LanguageFrame frame("German");
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame->optionsLabel.Caption() == LanguageFrame::Entry(L"German", 16));

    ::DeleteFileW(frame.LanguageFile(L"Polish").c_str());
    frame->OnMenuRowChosen(menus::kLanguageMenu, 5);
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Polish");
    EXPECT_TRUE(frame.ToldOnce(frame.LanguageFile(L"Polish")));
    EXPECT_EQ(frame.messages.at(0).rfind(L"Language file not found or corrupt", 0), 0u);
    EXPECT_TRUE(frame->optionsLabel.Caption() == LanguageFrame::Entry(L"German", 16));
    EXPECT_TRUE(frame->State().languages.texts.LanguageMenu[0] ==
                LanguageFrame::Entry(L"German", 1));

    frame->OnMenuRowChosen(menus::kLanguageMenu, 2);
    EXPECT_EQ(frame.messages.size(), 1u);
    EXPECT_EQ(frame->optionsLabel.Caption(), L"Options");
    frame->Shutdown();
}

TEST(FrameLanguage, ANinthLanguageFileIsOfferedAndPickingItSwitchesTheCaptions) {
    LanguageFrame frame("English");
    // Plain ASCII, so the system code page that an unknown language is read in does not matter.
    std::string zulu = "Ulimi lwesiZulu - Qorvic  1.10\r\n";
    for (const std::wstring& language : kShippedLanguages)
        zulu += "Language= zu-" + std::string(language.begin(), language.end()) + "\r\n";
    for (const char* text : {"Thumela ku-Norvane", "Kopisha", "Londoloza njenge...",
                             "Londoloza edeskithophu>", "Usayizi", "Umbala wohlaka...", "Ulimi>",
                             "Izinketho", "Thwebula isikrini", "Inguqulo entsha:", "100% ilingana"})
        zulu += std::string("Text= ") + text + "\r\n";
    ASSERT_TRUE(WriteFileAtomically(frame.LanguageFile(L"Zulu"), zulu));
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));

    MenuWindow* languages = frame.OpenLanguages();
    ASSERT_NE(languages, nullptr);
    std::vector<std::wstring> rows = kShippedLanguages;
    rows.push_back(L"Zulu");
    EXPECT_EQ(frame.Captions(*languages), rows);
    frame.Release(*languages, 8);

    EXPECT_TRUE(frame.messages.empty());
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Zulu");
    EXPECT_EQ(frame->optionsLabel.Caption(), L"Izinketho");
    EXPECT_EQ(frame->wholeScreenBox.Caption(), L"Thwebula isikrini");
    EXPECT_EQ(frame.OptionsCaptions(),
              (std::vector<std::wstring>{L"Thumela ku-Norvane", L"Kopisha", L"Londoloza njenge...",
                                         L"Londoloza edeskithophu", L"Usayizi 100%",
                                         L"Umbala wohlaka...", L"Ulimi"}));
    languages = frame.OpenLanguages();
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(frame.Captions(*languages).front(), L"zu-English");
    EXPECT_EQ(frame.Captions(*languages).back(), L"Zulu");
    EXPECT_EQ(languages->CheckedRow(), 8u);
    frame->Shutdown();
}

TEST(FrameLanguage, ACorruptFileIsToldByNameAndEveryCaptionStaysReadable) {
    // Seven files: without Dutch, every row must still select its own language.
    LanguageFrame frame("German", L"Dutch");
    ASSERT_TRUE(WriteFileAtomically(frame.LanguageFile(L"Polish"), "\x01\x02 broken \r\n= x"));
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame.messages.empty()) << "start-up tells nothing";
    EXPECT_TRUE(frame->optionsLabel.Caption() == LanguageFrame::Entry(L"German", 16));

    MenuWindow* languages = frame.OpenLanguages();
    ASSERT_NE(languages, nullptr);
    const std::vector<std::wstring> rows = frame.Captions(*languages);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_TRUE(rows[1] == LanguageFrame::Entry(L"German", 3)) << "French's row shows French";
    EXPECT_TRUE(rows[4] == LanguageFrame::Entry(L"German", 6));
    frame.Release(*languages, 4);

    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Polish");
    EXPECT_TRUE(frame.ToldOnce(frame.LanguageFile(L"Polish")));
    EXPECT_TRUE(frame->optionsLabel.Caption() == LanguageFrame::Entry(L"German", 16));
    EXPECT_TRUE(frame->wholeScreenBox.Caption() == LanguageFrame::Entry(L"German", 17));
    const std::vector<std::wstring> options = frame.OptionsCaptions();
    ASSERT_EQ(options.size(), 7u);
    for (const std::wstring& caption : options)
        EXPECT_FALSE(caption.empty());
    EXPECT_TRUE(options[0] == LanguageFrame::Entry(L"German", 9));
    frame->Shutdown();
}
