// The save dialog, played from another thread as a user would: the typed name,
// the chosen filter, cancel, and a format that needs the missing converter.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <thread>

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

// Plays the user at the dialog from another thread: types a name, picks a
// filter (1-based, 0 = leave), and saves or cancels.
std::thread AnswerSaveDialog(std::wstring name, int filter, bool save, bool* seen) {
    return std::thread([=] {
        HWND dialog = WaitForDialog(L"Save File - Qorvic");
        *seen = dialog != nullptr;
        if (!dialog)
            return;
        ::Sleep(300);
        if (filter > 0) {
            HWND combo = ::GetDlgItem(dialog, 0x470);
            ::SendMessageW(combo, CB_SETCURSEL, filter - 1, 0);
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK),
                           reinterpret_cast<LPARAM>(combo));
        }
        HWND edit = nullptr;
        ::EnumChildWindows(dialog, FindNameEdit, reinterpret_cast<LPARAM>(&edit));
        if (edit)
            ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ::PostMessageW(::GetDlgItem(dialog, save ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    });
}

class SaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(frame_.Start()); }
    // Opens the dialog, which the user answers; false when it never showed.
    bool SaveAs(const std::wstring& name, int filter, bool save) {
        bool seen = false;
        std::thread user = AnswerSaveDialog(target_ + name, filter, save, &seen);
        frame_->SaveCaptureAs();
        user.join();
        return seen;
    }
    TestFrame frame_;
    const std::wstring target_ = FreshFolder(L"target");
};

} // namespace

TEST_F(SaveDialogTest, SavesUnderTheTypedNameAndKeepsTheFilter) {
    // Typed with an extension: the typed format decides.
    ASSERT_TRUE(SaveAs(L"typed.bmp", 0, true)) << "the dialog with its title appeared";
    EXPECT_EQ(ReadFileBytes(target_ + L"typed.bmp", 2).value_or(""), "BM");
    // No extension, BMP filter chosen: ".bmp" is added.
    SaveAs(L"plain", 1, true);
    EXPECT_TRUE(PathExists(target_ + L"plain.bmp"));
    // The filter stays chosen for the next save within the run.
    SaveAs(L"again", 0, true);
    EXPECT_TRUE(PathExists(target_ + L"again.bmp"));
    EXPECT_TRUE(frame_.messages.empty());
}

TEST_F(SaveDialogTest, CancelWritesNothing) {
    ASSERT_TRUE(SaveAs(L"cancelled.bmp", 0, false));
    EXPECT_FALSE(PathExists(target_ + L"cancelled.bmp"));
    EXPECT_TRUE(frame_.messages.empty());
}

TEST_F(SaveDialogTest, OtherFormatWithoutConverterIsReportedByName) {
    SaveAs(L"shot.png", 0, true);
    EXPECT_FALSE(PathExists(target_ + L"shot.png"));
    EXPECT_TRUE(frame_.ToldOnce(L"shot.png"));
}
