// The save dialog, played from another thread as a user would: the typed name,
// the chosen filter, cancel, and a format that needs the missing converter.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

BOOL CALLBACK FindNameEdit(HWND child, LPARAM out) {
    wchar_t cls[32] = {};
    ::GetClassNameW(child, cls, 32);
    if (::GetDlgCtrlID(child) == 0x47c && std::wstring(cls) == L"Edit") {
        *reinterpret_cast<HWND*>(out) = child;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog titled "Save File - Qorvic" that has control `id` (0x470,
// the filter box, for the save dialog; IDYES for the replace question), or nullptr.
HWND VisibleDialogWith(int id) {
    HWND dialog = nullptr;
    while ((dialog = ::FindWindowExW(nullptr, dialog, L"#32770", L"Save File - Qorvic")))
        if (::IsWindowVisible(dialog) && ::GetDlgItem(dialog, id))
            return dialog;
    return nullptr;
}

// One showing of the dialog: the name typed, the filter picked (1-based, 0 =
// leave), save or cancel, and the answer to a replace question that follows.
struct Visit {
    std::wstring name;
    int filter = 0;
    bool save = true;
    bool replace = false;
};

// What the user saw: how many dialogs, and the text of every replace question.
struct Seen {
    int dialogs = 0;
    std::vector<std::wstring> questions;
};

// Plays the user at the dialog from another thread, visit by visit; `done` is set
// once the command has returned.
std::thread PlayUser(std::vector<Visit> visits, Seen& seen, const std::atomic<bool>& done) {
    return std::thread([visits, &seen, &done] {
        for (const Visit& visit : visits) {
            HWND dialog = nullptr;
            for (int i = 0; i < 500 && !dialog && !done; ++i, ::Sleep(20))
                dialog = VisibleDialogWith(0x470);
            if (!dialog)
                return;
            ++seen.dialogs;
            ::Sleep(300);
            if (visit.filter > 0) {
                HWND combo = ::GetDlgItem(dialog, 0x470);
                ::SendMessageW(combo, CB_SETCURSEL, visit.filter - 1, 0);
                ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK),
                               reinterpret_cast<LPARAM>(combo));
            }
            HWND edit = nullptr;
            ::EnumChildWindows(dialog, FindNameEdit, reinterpret_cast<LPARAM>(&edit));
            if (edit)
                ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(visit.name.c_str()));
            ::PostMessageW(::GetDlgItem(dialog, visit.save ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
            // A question, the dialog once more, or the end of the command.
            for (int i = 0; i < 500 && !done; ++i, ::Sleep(20)) {
                if (HWND question = VisibleDialogWith(IDYES)) {
                    ::Sleep(100);
                    std::wstring text;
                    ::EnumChildWindows(question, CollectStaticText,
                                       reinterpret_cast<LPARAM>(&text));
                    seen.questions.push_back(text);
                    ::PostMessageW(::GetDlgItem(question, visit.replace ? IDYES : IDNO), BM_CLICK,
                                   0, 0);
                    break;
                }
                HWND again = VisibleDialogWith(0x470);
                if (again && again != dialog)
                    break;
            }
        }
    });
}

class SaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(frame_.Start()); }
    // Runs the command while the user plays `visits` at its dialogs.
    Seen Play(std::vector<Visit> visits) {
        Seen seen;
        std::atomic<bool> done{false};
        for (Visit& visit : visits)
            visit.name = target_ + visit.name;
        std::thread user = PlayUser(visits, seen, done);
        Choose(*frame_, menus::OptionsRow::SaveAs);
        done = true;
        user.join();
        return seen;
    }
    // Opens the dialog, which the user answers; false when it never showed.
    bool SaveAs(const std::wstring& name, int filter, bool save) {
        return Play({{name, filter, save}}).dialogs == 1;
    }
    TestFrame frame_;
    const std::wstring target_ = FreshFolder(L"target");
};

} // namespace

TEST_F(SaveDialogTest, SavesUnderTheTypedNameKeepsTheFilterAndCancelWritesNothing) {
    // Typed with an extension: the typed format decides.
    ASSERT_TRUE(SaveAs(L"typed.bmp", 0, true)) << "the dialog with its title appeared";
    EXPECT_EQ(ReadFileBytes(target_ + L"typed.bmp", 2).value_or(""), "BM");
    // No extension, BMP filter chosen: ".bmp" is added.
    SaveAs(L"plain", 1, true);
    EXPECT_TRUE(PathExists(target_ + L"plain.bmp"));
    // The filter stays chosen for the next save within the run.
    SaveAs(L"again", 0, true);
    EXPECT_TRUE(PathExists(target_ + L"again.bmp"));
    // Cancel writes nothing.
    ASSERT_TRUE(SaveAs(L"cancelled.bmp", 0, false));
    EXPECT_FALSE(PathExists(target_ + L"cancelled.bmp"));
    EXPECT_TRUE(frame_.messages.empty());
}

TEST_F(SaveDialogTest, OtherFormatWithoutConverterIsReportedByName) {
    SaveAs(L"shot.png", 0, true);
    EXPECT_FALSE(PathExists(target_ + L"shot.png"));
    EXPECT_TRUE(frame_.ToldOnce(L"shot.png"));
}

// The dialog only knows the typed name; the question must come for the file
// that will really be written, extension added, and "No" writes nothing.
TEST_F(SaveDialogTest, ReplacingAFileIsAskedForThePathThatWillBeWritten) {
    ASSERT_TRUE(SaveAs(L"ScreenShot", 1, true));
    const std::wstring shot = target_ + L"ScreenShot.bmp";
    ASSERT_TRUE(WriteFileAtomically(shot, "earlier"));

    // The default name once more: asked, "No" leads back to the dialog, cancel there.
    Seen seen = Play({{L"ScreenShot", 1, true, false}, {L"ScreenShot", 0, false}});
    ASSERT_EQ(seen.questions.size(), 1u) << "the question for ScreenShot.bmp";
    EXPECT_NE(seen.questions[0].find(L"ScreenShot.bmp"), std::wstring::npos);
    EXPECT_EQ(seen.dialogs, 2) << "\"No\" returns to the dialog";
    EXPECT_EQ(ReadFileBytes(shot).value_or(""), "earlier");

    // "No", then another name: only the new file is written.
    seen = Play({{L"ScreenShot", 1, true, false}, {L"other", 1, true}});
    EXPECT_EQ(seen.questions.size(), 1u);
    EXPECT_EQ(ReadFileBytes(shot).value_or(""), "earlier");
    EXPECT_EQ(ReadFileBytes(target_ + L"other.bmp", 2).value_or(""), "BM");

    // Typed with its extension: asked once, not twice; "Yes" replaces.
    seen = Play({{L"ScreenShot.bmp", 0, true, true}});
    EXPECT_EQ(seen.questions.size(), 1u);
    EXPECT_EQ(ReadFileBytes(shot, 2).value_or(""), "BM");
    EXPECT_TRUE(frame_.messages.empty());
}
