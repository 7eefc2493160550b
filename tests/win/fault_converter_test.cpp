// The converter failing in every way we can think of: crashing, exiting with or
// without an error code but no file, hanging past the 5-second wait, and a
// target folder it cannot write. The program goes on, tells the user once per
// failed save, and never takes a still-running converter for a failure.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// Puts the misbehaving stand-in where the program looks for its converter.
void InstallStandIn(const TestFrame& frame, const std::string& mode) {
    ASSERT_TRUE(frame.InstallConverter(QORVIC_STAND_IN_CONVERTER_EXE));
    const std::wstring ini = frame->State().DataFolder + L"\\ini";
    ::CreateDirectoryW(ini.c_str(), nullptr);
    ASSERT_TRUE(WriteFileAtomically(ini + L"\\stand_in_mode.txt", mode));
}

class FaultConverter : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(frame_.Start()); }
    TestFrame frame_;
};

} // namespace

TEST(FaultConverterCrash, IsToldInTheMessageBoxAndLeavesNoFile) {
    TestFrame frame;
    frame.realMessageBoxes = true;
    ASSERT_TRUE(frame.Start());
    InstallStandIn(frame, "crash");
    std::wstring shown;
    std::thread user([&] {
        // Reads the program's message box and presses OK.
        if (HWND box = WaitForDialog(L"Qorvic")) {
            ::EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&shown));
            ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        }
    });
    QuickSave(*frame, ImageFormat::Png);
    user.join();
    EXPECT_NE(shown.find(L"Qorvic_1.png"), std::wstring::npos)
        << "the message box names the file; it read \"" << std::string(shown.begin(), shown.end())
        << "\"";
    EXPECT_FALSE(PathExists(frame.Desktop() + L"Qorvic_1.png"));
    EXPECT_TRUE(::IsWindow(frame->hwnd())) << "the program goes on";
}

TEST_F(FaultConverter, AFailureExitOrAMissingFileIsTold) {
    InstallStandIn(frame_, "fail");
    QuickSave(*frame_, ImageFormat::Gif);
    EXPECT_TRUE(frame_.ToldOnce(L"Qorvic_1.gif"));
    // Success claimed but no file: still a failed save.
    InstallStandIn(frame_, "no_file");
    frame_.messages.clear();
    QuickSave(*frame_, ImageFormat::Tif);
    EXPECT_TRUE(frame_.ToldOnce(L"Qorvic_1.tif"));
    EXPECT_TRUE(FolderEntries(frame_.Desktop()).empty());
}

TEST_F(FaultConverter, AHangingConverterIsLeftRunningAndNotReportedAsAFailure) {
    InstallStandIn(frame_, "hang");
    QuickSave(*frame_, ImageFormat::Png);
    // The program came back before the stand-in's 10 s were over: no file yet.
    EXPECT_FALSE(PathExists(frame_.Desktop() + L"Qorvic_1.png"));
    EXPECT_TRUE(frame_.messages.empty()) << "waiting out the 5 s is not a failure";
    EXPECT_TRUE(::IsWindowVisible(frame_->hwnd()));
    // A second save while the first converter still runs must not take its name,
    // or the later file would replace the earlier one.
    QuickSave(*frame_, ImageFormat::Png);
    EXPECT_TRUE(frame_.messages.empty());
    // Both converters went on by themselves and finished later.
    EXPECT_TRUE(PumpUntil([&] {
        return PathExists(frame_.Desktop() + L"Qorvic_1.png") &&
               PathExists(frame_.Desktop() + L"Qorvic_2.png");
    })) << "each still-running converter wrote its own file";
}

// A data folder under a name with a space ("...\\Ann Lee\\..."): a program named
// after the first word ("...\\Ann.exe") must not run in place of the converter.
TEST(FaultConverterPath, APathWithSpacesRunsOnlyTheConverter) {
    const std::wstring base = FreshFolder(L"hijack");
    const std::wstring appData = base + L"Ann Lee\\";
    ASSERT_TRUE(::CreateDirectoryW(appData.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(WidePath(QORVIC_STAND_IN_CONVERTER_EXE).c_str(),
                            (base + L"Ann.exe").c_str(), FALSE));
    TestFrame frame;
    ASSERT_TRUE(frame.Start(appData, frame.Desktop()));
    ASSERT_TRUE(frame.InstallConverter());
    QuickSave(*frame, ImageFormat::Png);
    EXPECT_EQ(frame.messages, std::vector<std::wstring>{});
    EXPECT_TRUE(PathExists(frame.Desktop() + L"Qorvic_1.png"));
}

// The wrapper script makes this folder unwritable; see fault_folders_test.cpp.
TEST(FaultReadOnlyTarget, EverySaveIntoItIsToldAndNothingIsWritten) {
    const std::wstring desktop = FaultSetting(L"QORVIC_TEST_READONLY_DESKTOP");
    if (desktop.empty())
        GTEST_SKIP() << "needs the read-only folder the fault script prepares";
    TestFrame frame;
    ASSERT_TRUE(frame.Start(FreshFolder(L"appdata"), desktop + L"\\"));
    ASSERT_TRUE(frame.InstallConverter());
    QuickSave(*frame, ImageFormat::Bmp);
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.bmp"));
    frame.messages.clear();
    QuickSave(*frame, ImageFormat::Png);
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.png")) << "the real converter cannot write there";
    EXPECT_TRUE(FolderEntries(desktop + L"\\").empty());
}
