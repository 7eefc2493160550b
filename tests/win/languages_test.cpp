// Languages through the program's Win32 code: the shipped files listed, read
// and decoded in their code pages, and the frame switching, telling a bad
// file, offering a ninth language and keeping the choice for the next run.
// How entries become texts is the language file's (native) test.
#include "base/file_io_win.h"
#include "languages/languages_win.h"
#include "menus/menu_window_win.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;
namespace fs = std::filesystem;

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

TEST(LanguageLoader, EveryShippedFileDecodesToItsTranslatorsText) {
    const std::wstring appData = FreshFolder(L"languages");
    InstallLanguages(appData);
    const std::wstring dataFolder = appData + L"Qorvic";
    LanguageState state;
    BuildLanguageList(state, dataFolder);
    ASSERT_EQ(state.languageList, kEightLanguages);
    for (const std::wstring& language : kEightLanguages) {
        SCOPED_TRACE(std::string(language.begin(), language.end()));
        const std::vector<std::wstring> want = SourceEntries(language);
        ASSERT_EQ(want.size(), 19u);
        state.CurrentLanguage = language;
        const LanguageApply apply = LoadLanguage(state, dataFolder);
        EXPECT_FALSE(apply.failed);
        EXPECT_TRUE(std::equal(want.begin(), want.begin() + 8, state.texts.LanguageMenu.begin()));
        EXPECT_TRUE(state.texts.TxtHandOff == want[8]);
        EXPECT_TRUE(apply.optionsCaption == want[15]);
        EXPECT_TRUE(apply.screenCaption == want[16]);
        EXPECT_TRUE(state.texts.TxtEquals == want[18]);
    }
    // Whatever the system's code page, Russian is Cyrillic and Japanese kana.
    state.CurrentLanguage = L"Russian";
    EXPECT_EQ(LoadLanguage(state, dataFolder).optionsCaption,
              L"\u041f\u0430\u0440\u0430\u043c\u0435\u0442\u0440\u044b");
    state.CurrentLanguage = L"Japanese";
    EXPECT_EQ(LoadLanguage(state, dataFolder).optionsCaption, L"\u30aa\u30d7\u30b7\u30e7\u30f3");

    // Folders and hidden files are no languages; without the folder only English is left.
    const fs::path folder = fs::path(dataFolder) / "Languages";
    fs::create_directory(folder / "Qorvic_Folder.Language");
    const fs::path hidden = folder / "Qorvic_Hidden.Language";
    ASSERT_TRUE(WriteFileAtomically(hidden.wstring(), "x"));
    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    BuildLanguageList(state, dataFolder);
    EXPECT_EQ(state.languageList, kEightLanguages);
    fs::remove_all(folder);
    state.CurrentLanguage = L"0"; // the old number 0 means English
    BuildLanguageList(state, dataFolder);
    EXPECT_EQ(state.CurrentLanguage, L"English");
    EXPECT_EQ(state.languageList, std::vector<std::wstring>{L"English"});
    EXPECT_EQ(LoadLanguage(state, dataFolder).optionsCaption, L"Options");
}

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
    std::wstring LanguageFile(const std::wstring& language) const {
        return AppData() + L"Qorvic\\Languages\\Qorvic_" + language + L".Language";
    }
    // Entry `number` (1 to 19) of a language's source text.
    static std::wstring Entry(const std::wstring& language, int number) {
        return SourceEntries(language).at(static_cast<std::size_t>(number - 1));
    }
    bool StripIn(const std::wstring& language) const {
        return form->optionsLabel.Caption() == Entry(language, 16) &&
               form->wholeScreenBox.Caption() == Entry(language, 17);
    }
    // The captions of the options menu, or with `languages` of its language submenu.
    std::vector<std::wstring> Captions(bool languages = false) {
        form->Menus().OpenOptionsMenu();
        MenuWindow* menu = form->Menus().FirstLevel();
        if (menu && languages) {
            menu->rowLabel(6)->onMouseEnter();
            menu = form->Menus().SecondLevel();
        }
        std::vector<std::wstring> captions;
        for (std::size_t row = 0; menu && menu->rowLabel(row) && row < menu->Layout().rows.size();
             ++row)
            captions.push_back(menu->rowLabel(row)->Caption());
        return captions;
    }
    void Pick(std::size_t row) { form->OnMenuRowChosen(menus::kLanguageMenu, row); }
};

} // namespace

TEST(FrameLanguage, PickingALanguageChangesTheStripAtOnceAndSurvivesARestart) {
    LanguageFrame frame("English");
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_EQ(frame->optionsLabel.Caption(), L"Options");
    const int englishWidth = frame->optionsLabel.Width();
    frame.Pick(6); // English, Dutch, French, German, Japanese, Polish, Russian, Spanish
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Russian");
    EXPECT_TRUE(frame.StripIn(L"Russian"));
    EXPECT_NE(frame->optionsLabel.Width(), englishWidth) << "the label sizes itself to its text";
    EXPECT_EQ(frame->wholeScreenBox.Left(), frame->optionsLabel.Width() + 20)
        << "the strip is laid out anew";
    frame->Shutdown();
    EXPECT_EQ(ReadFileBytes(frame.Settings()).value_or(""), "0\r\nRussian\r\n");

    frame.form.reset();
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame.StripIn(L"Russian"));
    EXPECT_TRUE(frame.messages.empty());
    frame->Shutdown();
}

TEST(FrameLanguage, AMissingOrCorruptFileIsToldByNameAndChangesNothing) {
    // Seven files: without Dutch, every row must still select its own language.
    LanguageFrame frame("German", L"Dutch");
    ASSERT_TRUE(WriteFileAtomically(frame.LanguageFile(L"Polish"), "\x01\x02 broken \r\n= x"));
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame.messages.empty()) << "start-up tells nothing";
    const std::vector<std::wstring> rows = frame.Captions(true);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_TRUE(rows[4] == LanguageFrame::Entry(L"German", 6)) << "Polish's row shows Polish";

    frame.Pick(4);
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Polish");
    EXPECT_TRUE(frame.ToldOnce(frame.LanguageFile(L"Polish")));
    EXPECT_TRUE(frame.StripIn(L"German"));
    EXPECT_TRUE(frame.Captions()[0] == LanguageFrame::Entry(L"German", 9));

    ::DeleteFileW(frame.LanguageFile(L"Spanish").c_str());
    frame.messages.clear();
    frame.Pick(6);
    EXPECT_TRUE(frame.ToldOnce(frame.LanguageFile(L"Spanish")));
    EXPECT_EQ(frame.messages.at(0).rfind(L"Language file not found or corrupt", 0), 0u);
    EXPECT_TRUE(frame.StripIn(L"German"));
    frame.Pick(1);
    EXPECT_TRUE(frame.StripIn(L"French")) << "row 1 is French, Dutch being absent";
    frame->Shutdown();
}

TEST(FrameLanguage, ANinthLanguageFileIsOfferedAndPickingItSwitchesTheCaptions) {
    LanguageFrame frame("English");
    // Plain ASCII, so the system code page that an unknown language is read in does not matter.
    std::string zulu = "Ulimi lwesiZulu - Qorvic  1.10\r\n";
    for (const std::wstring& language : kEightLanguages)
        zulu += "Language= zu-" + std::string(language.begin(), language.end()) + "\r\n";
    for (const char* text : {"Thumela ku-Norvane", "Kopisha", "Londoloza njenge...",
                             "Londoloza edeskithophu>", "Usayizi", "Umbala wohlaka...", "Ulimi>",
                             "Izinketho", "Thwebula isikrini", "Inguqulo entsha:", "100% ilingana"})
        zulu += std::string("Text= ") + text + "\r\n";
    ASSERT_TRUE(WriteFileAtomically(frame.LanguageFile(L"Zulu"), zulu));
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    std::vector<std::wstring> rows = kEightLanguages;
    rows.push_back(L"Zulu");
    EXPECT_EQ(frame.Captions(true), rows);

    frame.Pick(8);
    EXPECT_TRUE(frame.messages.empty());
    EXPECT_EQ(frame->optionsLabel.Caption(), L"Izinketho");
    EXPECT_EQ(frame->wholeScreenBox.Caption(), L"Thwebula isikrini");
    EXPECT_EQ(frame.Captions(),
              (std::vector<std::wstring>{L"Thumela ku-Norvane", L"Kopisha", L"Londoloza njenge...",
                                         L"Londoloza edeskithophu", L"Usayizi 100%",
                                         L"Umbala wohlaka...", L"Ulimi"}));
    EXPECT_EQ(frame.Captions(true).front(), L"zu-English");
    EXPECT_EQ(frame->Menus().SecondLevel()->CheckedRow(), 8u);
    frame->Shutdown();
}
