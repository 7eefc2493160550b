// The converter failing in every way we can think of: crashing, exiting with or
// without an error code but no file, hanging past the 5-second wait, and a
// target folder it cannot write. The program goes on, tells the user once per
// failed save, and never takes a still-running converter for a failure.
#include "base/file_io_win.h"
#include "mainwindow/form1_win.h"

#include "fault_support_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace qorvic;
using namespace qorvic::test;

namespace {

class FaultConverter : public ::testing::Test {
protected:
    void SetUp() override {
        desktop_ = FreshFolder(L"desktop");
        ASSERT_TRUE(frame_.Start(FreshFolder(L"appdata"), desktop_));
        data_ = frame_.form->State().DataFolder;
    }
    // Puts the misbehaving stand-in where the program looks for its converter.
    void InstallStandIn(const std::string& mode) {
        ASSERT_TRUE(::CopyFileW(WidePath(QORVIC_STAND_IN_CONVERTER_EXE).c_str(),
                                (data_ + L"\\i__view32.exe").c_str(), FALSE));
        ::CreateDirectoryW((data_ + L"\\ini").c_str(), nullptr);
        ASSERT_TRUE(WriteFileAtomically(data_ + L"\\ini\\stand_in_mode.txt", mode));
    }

    std::wstring desktop_, data_;
    RecordingFrame frame_;
};

// Presses OK on the program's message box from another thread and keeps its text.
class MessageBoxWatcher {
public:
    MessageBoxWatcher()
        : thread_([this] {
              for (int i = 0; i < 1500 && !stop_; ++i) {
                  HWND box = ::FindWindowW(L"#32770", L"Qorvic");
                  if (box && ::IsWindowVisible(box)) {
                      ::EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text_));
                      ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                      return;
                  }
                  ::Sleep(20);
              }
          }) {}
    ~MessageBoxWatcher() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    std::wstring Text() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return text_;
    }

private:
    static BOOL CALLBACK CollectText(HWND child, LPARAM out) {
        wchar_t cls[16] = {};
        wchar_t text[512] = {};
        ::GetClassNameW(child, cls, 16);
        ::GetWindowTextW(child, text, 512);
        if (std::wstring(cls) == L"Static")
            *reinterpret_cast<std::wstring*>(out) += text;
        return TRUE;
    }

    std::atomic<bool> stop_{false};
    std::wstring text_;
    std::thread thread_;
};

} // namespace

TEST_F(FaultConverter, ACrashIsToldInTheMessageBoxAndLeavesNoFile) {
    InstallStandIn("crash");
    frame_.form->showMessage = [this](const std::wstring& text) {
        frame_.messages.push_back(text);
        ::MessageBoxW(frame_.form->hwnd(), text.c_str(), L"Qorvic", MB_OK | MB_ICONWARNING);
    };
    MessageBoxWatcher watcher;
    frame_.form->MnuExtClick(4, L"PNG");
    const std::wstring shown = watcher.Text();
    EXPECT_TRUE(frame_.ToldOnce(L"Qorvic_1.png"));
    EXPECT_NE(shown.find(L"Qorvic_1.png"), std::wstring::npos)
        << "the message window names the file; it read \""
        << std::string(shown.begin(), shown.end()) << "\"";
    EXPECT_FALSE(PathExists(desktop_ + L"Qorvic_1.png"));
    EXPECT_TRUE(::IsWindow(frame_.form->hwnd())) << "the program goes on";
}

TEST_F(FaultConverter, AFailureExitOrAMissingFileIsTold) {
    InstallStandIn("fail");
    frame_.form->MnuExtClick(1, L"GIF");
    EXPECT_TRUE(frame_.ToldOnce(L"Qorvic_1.gif"));
    // Success claimed but no file: still a failed save.
    InstallStandIn("no_file");
    frame_.messages.clear();
    frame_.form->MnuExtClick(5, L"TIF");
    EXPECT_TRUE(frame_.ToldOnce(L"Qorvic_1.tif"));
    EXPECT_TRUE(FolderEntries(desktop_).empty());
}

TEST_F(FaultConverter, AHangingConverterIsLeftRunningAndNotReportedAsAFailure) {
    InstallStandIn("hang");
    frame_.form->MnuExtClick(4, L"PNG");
    // The program came back before the stand-in's 10 s were over: no file yet.
    EXPECT_FALSE(PathExists(desktop_ + L"Qorvic_1.png"));
    EXPECT_TRUE(frame_.messages.empty()) << "waiting out the 5 s is not a failure";
    EXPECT_TRUE(::IsWindowVisible(frame_.form->hwnd()));
    // A second save while the first converter still runs must not take its name,
    // or the later file would replace the earlier one.
    frame_.form->MnuExtClick(4, L"PNG");
    EXPECT_TRUE(frame_.messages.empty());
    // Both converters went on by themselves and finished later.
    bool both = false;
    for (int i = 0; i < 1500 && !both; ++i) {
        both = PathExists(desktop_ + L"Qorvic_1.png") && PathExists(desktop_ + L"Qorvic_2.png");
        ::Sleep(20);
    }
    EXPECT_TRUE(both) << "each still-running converter wrote its own file";
}

// The wrapper script makes this folder unwritable; see fault_folders_test.cpp.
TEST(FaultReadOnlyTarget, EverySaveIntoItIsToldAndNothingIsWritten) {
    const std::wstring desktop = FaultSetting(L"QORVIC_TEST_READONLY_DESKTOP");
    if (desktop.empty())
        GTEST_SKIP() << "needs the read-only folder the fault script prepares";
    RecordingFrame frame;
    ASSERT_TRUE(frame.Start(FreshFolder(L"appdata"), desktop + L"\\"));
    ASSERT_TRUE(::CopyFileW(WidePath(QORVIC_CONVERTER_EXE).c_str(),
                            (frame.form->State().DataFolder + L"\\i__view32.exe").c_str(), FALSE));
    frame.form->MnuExtClick(0, L"BMP");
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.bmp"));
    frame.messages.clear();
    frame.form->MnuExtClick(4, L"PNG");
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.png")) << "the real converter cannot write there";
    EXPECT_TRUE(FolderEntries(desktop + L"\\").empty());
}
