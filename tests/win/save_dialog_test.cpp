#include "base/file_io_win.h"
#include "mainwindow/form1_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qorvic;
using qorvic::test::FreshFolder;

namespace {

HWND WaitForDialog(const wchar_t* title) {
    for (int i = 0; i < 500; ++i) {
        if (HWND dialog = ::FindWindowW(L"#32770", title))
            return dialog;
        ::Sleep(20);
    }
    return nullptr;
}

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
    void SetUp() override {
        Form1::Options options;
        options.homePageUrl = L""; // no update check
        options.appDataFolder = FreshFolder(L"appdata");
        form_ = std::make_unique<Form1>(options);
        form_->onEnd = nullptr;
        form_->showMessage = [this](const std::wstring& text) { messages_.push_back(text); };
        ASSERT_TRUE(form_->Load());
        target_ = FreshFolder(L"target");
    }
    std::unique_ptr<Form1> form_;
    std::vector<std::wstring> messages_;
    std::wstring target_;
};

} // namespace

TEST_F(SaveDialogTest, SavesUnderTheTypedNameAndKeepsTheFilter) {
    bool seen = false;
    // Typed with an extension: the typed format decides.
    std::thread user = AnswerSaveDialog(target_ + L"typed.bmp", 0, true, &seen);
    form_->SaveCaptureAs();
    user.join();
    ASSERT_TRUE(seen) << "the dialog with its title appeared";
    EXPECT_EQ(ReadFileBytes(target_ + L"typed.bmp", 2).value_or(""), "BM");

    // No extension, BMP filter chosen: ".bmp" is added.
    user = AnswerSaveDialog(target_ + L"plain", 1, true, &seen);
    form_->SaveCaptureAs();
    user.join();
    EXPECT_TRUE(PathExists(target_ + L"plain.bmp"));

    // The filter stays chosen for the next save within the run.
    user = AnswerSaveDialog(target_ + L"again", 0, true, &seen);
    form_->SaveCaptureAs();
    user.join();
    EXPECT_TRUE(PathExists(target_ + L"again.bmp"));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SaveDialogTest, CancelWritesNothing) {
    bool seen = false;
    std::thread user = AnswerSaveDialog(target_ + L"cancelled.bmp", 0, false, &seen);
    form_->SaveCaptureAs();
    user.join();
    ASSERT_TRUE(seen);
    EXPECT_FALSE(PathExists(target_ + L"cancelled.bmp"));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SaveDialogTest, OtherFormatWithoutConverterIsReportedByName) {
    bool seen = false;
    std::thread user = AnswerSaveDialog(target_ + L"shot.png", 0, true, &seen);
    form_->SaveCaptureAs();
    user.join();
    EXPECT_FALSE(PathExists(target_ + L"shot.png"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(L"shot.png"), std::wstring::npos);
}
