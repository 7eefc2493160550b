// Languages through the program's Win32 code: the shipped files listed, read
// and decoded in their code pages as their translators wrote them, and the frame switching, telling
// a bad file and keeping the choice for the next run. How entries become texts, and a ninth
// language's rows and texts, are the native tests'.
#include "base/file_io_win.h"
#include "languages/languages_win.h"
#include "menus/menu_window_win.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;
namespace fs = std::filesystem;

// The named code pages at work: every shipped file below.
TEST(LanguageDecoder, FallsBackToTheSystemCodePage) {
    // The system's code page is the ANSI one, also for a code page that does not exist.
    EXPECT_EQ(DecodeLanguageBytes("a\xe4", 0), AnsiToWide("a\xe4"));
    EXPECT_EQ(DecodeLanguageBytes("a\xe4", 59999), AnsiToWide("a\xe4"));
    EXPECT_EQ(DecodeLanguageBytes("", 1252), L"");
}

// Each shipped file, read in the code page the loader picks, against its
// translator's UTF-8 source.
TEST(LanguageLoader, TheFolderIsListedAndEachFileReadAsItsTranslatorWroteIt) {
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
        const LanguageTexts& t = state.texts;
        std::vector<std::wstring> got = t.LanguageMenu;
        got.insert(got.end(), {t.TxtHandOff, t.TxtCopy, t.TxtSaveAs, t.TxtFormats, t.TxtScaling,
                               t.TxtColour, t.TxtLanguages, apply.optionsCaption,
                               apply.screenCaption, t.TxtNewVersion, t.TxtEquals});
        for (const std::size_t marked : {11, 12, 13, 17}) // the loader's menu markers
            got[marked].pop_back();
        EXPECT_TRUE(got == want);
        // The two submenu rows show their arrow; eight different names.
        EXPECT_NE(t.TxtFormats.find(L'>'), std::wstring::npos);
        EXPECT_NE(t.TxtLanguages.find(L'>'), std::wstring::npos);
        EXPECT_EQ(std::set<std::wstring>(want.begin(), want.begin() + 8).size(), 8u);
    }

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
    // The captions of the options menu.
    std::vector<std::wstring> Captions() {
        form->Menus().OpenOptionsMenu();
        std::vector<std::wstring> captions;
        MenuWindow* menu = form->Menus().FirstLevel();
        for (std::size_t row = 0; menu && menu->rowLabel(row) && row < menu->Layout().rows.size();
             ++row)
            captions.push_back(menu->rowLabel(row)->Caption());
        return captions;
    }
    void Pick(std::size_t row) { form->OnMenuRowChosen(menus::kLanguageMenu, row); }
};

} // namespace

// Which row selects which language without Dutch's file, and a missing file
// against a corrupt one: the native choice test.
TEST(FrameLanguage, ABadFileIsToldByNameAGoodOneChangesStripAndMenusAndSurvivesARestart) {
    LanguageFrame frame("German", L"Dutch");
    ASSERT_TRUE(WriteFileAtomically(frame.LanguageFile(L"Polish"), "\x01\x02 broken \r\n= x"));
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame.messages.empty()) << "start-up tells nothing";
    EXPECT_TRUE(frame.StripIn(L"German"));
    const std::vector<std::wstring> german = frame.Captions();
    const int germanWidth = frame->optionsLabel.Width();

    frame.Pick(4); // English, French, German, Japanese, Polish, Russian, Spanish
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Polish");
    EXPECT_TRUE(frame.ToldOnce(frame.LanguageFile(L"Polish")));
    EXPECT_EQ(frame.messages.at(0).rfind(L"Language file not found or corrupt", 0), 0u);
    EXPECT_TRUE(frame.StripIn(L"German"));
    EXPECT_EQ(frame.Captions(), german);

    frame.messages.clear();
    frame.Pick(5);
    EXPECT_EQ(frame->State().languages.CurrentLanguage, L"Russian");
    EXPECT_TRUE(frame.messages.empty());
    EXPECT_TRUE(frame.StripIn(L"Russian"));
    EXPECT_TRUE(frame.Captions().at(0) == LanguageFrame::Entry(L"Russian", 9));
    EXPECT_NE(frame->optionsLabel.Width(), germanWidth) << "the label sizes itself to its text";
    EXPECT_GT(frame->wholeScreenBox.Left(), frame->optionsLabel.Width())
        << "the strip is laid out anew";
    frame->Shutdown();
    EXPECT_EQ(ReadFileBytes(frame.Settings()).value_or(""), "0\r\nRussian\r\n");

    frame.form.reset();
    ASSERT_TRUE(frame.Start(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(frame.StripIn(L"Russian"));
    EXPECT_TRUE(frame.messages.empty());
    frame->Shutdown();
}
