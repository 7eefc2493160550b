// Faults around the data folder and the settings file: the program starts, keeps
// working where it can, tells the user about each save that fails, and never
// loses the settings file it found. What any content of that file reads as is
// the settings reader's native and fuzz tests'.
#include "frame_support_win.h"

#include <gtest/gtest.h>

using namespace qorvic;
using namespace qorvic::test;

TEST(FaultDataFolder, MissingParentStartsWithDefaultsAndOnlyConversionsFail) {
    const std::wstring appData = FreshFolder(L"no parent") + L"gone\\";
    const std::wstring desktop = FreshFolder(L"desktop");
    TestFrame frame;
    ASSERT_TRUE(frame.Start(appData, desktop));
    FrameWindow& form = *frame.form;
    EXPECT_FALSE(PathExists(form.State().DataFolder)) << "one level only: the parent is missing";
    EXPECT_EQ(form.BackColour(), 0) << "no settings: black";
    EXPECT_EQ(form.State().languages.CurrentLanguage, L"English");
    EXPECT_EQ(form.State().languages.languageList, std::vector<std::wstring>{L"English"});

    // A BMP goes straight to the desktop; other formats need the temporary bitmap.
    QuickSave(form, ImageFormat::Bmp);
    EXPECT_EQ(ReadFileBytes(desktop + L"Qorvic_1.bmp", 2).value_or(""), "BM");
    EXPECT_TRUE(frame.messages.empty());
    QuickSave(form, ImageFormat::Png);
    EXPECT_FALSE(PathExists(desktop + L"Qorvic_1.png"));
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.png"));

    form.Shutdown(); // the settings cannot be written: the program still ends
    EXPECT_FALSE(PathExists(appData)) << "nothing was created on the way";
}

TEST(FaultDataFolder, AFileInItsPlaceIsLeftAloneAndConversionsAreTold) {
    TestFrame frame;
    const std::wstring appData = frame.AppData();
    ASSERT_TRUE(WriteFileAtomically(appData + L"Qorvic", "not a folder"));
    ASSERT_TRUE(frame.Start());
    EXPECT_EQ(frame.form->BackColour(), 0);
    QuickSave(*frame.form, ImageFormat::Jpg);
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.jpg"));
    EXPECT_TRUE(FolderEntries(frame.Desktop()).empty());
    frame.form->Shutdown();
    EXPECT_EQ(ReadFileBytes(appData + L"Qorvic").value_or(""), "not a folder");
    EXPECT_EQ(FolderEntries(appData), std::vector<std::wstring>{L"Qorvic"})
        << "no temporary file left beside it";
}

TEST(FaultDataFolder, MissingDesktopFolderIsToldForEveryFormat) {
    TestFrame frame;
    const std::wstring desktop = frame.Desktop() + L"vanished\\";
    ASSERT_TRUE(frame.Start(frame.AppData(), desktop));
    QuickSave(*frame.form, ImageFormat::Bmp);
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.bmp"));
    EXPECT_FALSE(PathExists(desktop));
}

class FaultSettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        appData_ = FreshFolder(L"settings");
        ASSERT_TRUE(::CreateDirectoryW((appData_ + L"Qorvic").c_str(), nullptr));
        cfg_ = appData_ + L"Qorvic\\Qorvic.cfg";
    }
    bool Start() { return frame_.Start(appData_, FreshFolder(L"desktop")); }

    std::wstring appData_, cfg_;
    TestFrame frame_;
};

TEST_F(FaultSettingsFile, HugeFileReadsItsFirstLinesOnly) {
    std::string huge = "255\r\nDutch\r\n";
    huge.append(40u << 20, 'x'); // 40 MB of trailing junk
    ASSERT_TRUE(WriteFileAtomically(cfg_, huge));
    ASSERT_TRUE(Start());
    EXPECT_EQ(frame_.form->BackColour(), 255);
    EXPECT_EQ(frame_.form->State().languages.CurrentLanguage, L"Dutch");
    frame_.form->Shutdown();
    EXPECT_EQ(ReadFileBytes(cfg_).value_or(""), "255\r\nDutch\r\n");
}

TEST_F(FaultSettingsFile, AReadOnlySettingsFileIsNotReplacedAtExit) {
    ASSERT_TRUE(WriteFileAtomically(cfg_, "255\r\nGerman\r\n"));
    ASSERT_TRUE(::SetFileAttributesW(cfg_.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Start());
    EXPECT_EQ(frame_.form->BackColour(), 255) << "a read-only file is still read";
    frame_.form->SetBackColour(16711680);
    frame_.form->Shutdown();
    ::SetFileAttributesW(cfg_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(cfg_).value_or(""), "255\r\nGerman\r\n");
    EXPECT_EQ(FolderEntries(appData_ + L"Qorvic\\"), std::vector<std::wstring>{L"Qorvic.cfg"});
}

// Windows ends the process after WM_ENDSESSION without closing the frame.
TEST_F(FaultSettingsFile, SessionEndKeepsTheChosenColourAndLanguage) {
    ASSERT_TRUE(Start());
    frame_.form->SetBackColour(255);
    frame_.form->State().languages.CurrentLanguage = L"German";
    EXPECT_TRUE(::SendMessageW(frame_.form->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ::SendMessageW(frame_.form->hwnd(), WM_ENDSESSION, FALSE, 0); // ending cancelled
    EXPECT_FALSE(PathExists(cfg_));
    ::SendMessageW(frame_.form->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(ReadFileBytes(cfg_).value_or(""), "255\r\nGerman\r\n");
    EXPECT_EQ(FolderEntries(appData_ + L"Qorvic\\"), std::vector<std::wstring>{L"Qorvic.cfg"});
}

// The data folder is made unwritable by the wrapper script (the test run is
// root, so only the file system's immutable flag stops it); it holds the
// settings "255, German".
TEST(FaultReadOnlyDataFolder, SettingsStayIntactAndConversionsAreTold) {
    const std::wstring appData = FaultSetting(L"QORVIC_TEST_READONLY_APPDATA");
    if (appData.empty())
        GTEST_SKIP() << "needs the read-only folder the fault script prepares";
    const std::wstring cfg = appData + L"\\Qorvic\\Qorvic.cfg";
    const std::string before = ReadFileBytes(cfg).value_or("");
    ASSERT_EQ(before, "255\r\nGerman\r\n");
    TestFrame frame;
    ASSERT_TRUE(frame.Start(appData + L"\\", frame.Desktop()));
    const std::wstring desktop = frame.Desktop();
    EXPECT_EQ(frame.form->BackColour(), 255);

    QuickSave(*frame.form, ImageFormat::Png);
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.png")) << "the temporary bitmap cannot be written";
    QuickSave(*frame.form, ImageFormat::Bmp);
    EXPECT_TRUE(PathExists(desktop + L"Qorvic_1.bmp"));

    frame.form->SetBackColour(16711680);
    frame.form->Shutdown();
    EXPECT_EQ(ReadFileBytes(cfg).value_or(""), before) << "the old settings stay intact";
    EXPECT_EQ(FolderEntries(appData + L"\\Qorvic\\"), std::vector<std::wstring>{L"Qorvic.cfg"});
}

// The wrapper script limits the size of any file this process writes (as a
// full disk would stop it) and passes the limit on.
TEST(FaultDiskFull, ASaveThatDoesNotFitIsToldAndLeavesNoFile) {
    const std::wstring limit = FaultSetting(L"QORVIC_TEST_FILE_LIMIT");
    if (limit.empty())
        GTEST_SKIP() << "needs the file size limit the fault script sets";
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    const std::wstring appData = frame.AppData(), desktop = frame.Desktop();
    Choose(*frame, menus::OptionsRow::Copy); // a capture
    ASSERT_GT(PictureAsBmp(Output(*frame.form)).size(), std::stoul(limit))
        << "the picture must not fit, or this tests nothing";

    QuickSave(*frame.form, ImageFormat::Bmp);
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.bmp"));
    EXPECT_TRUE(FolderEntries(desktop).empty()) << "no half-written file, no temporary file";
    frame.messages.clear();
    QuickSave(*frame.form, ImageFormat::Png);
    EXPECT_TRUE(frame.ToldOnce(L"Qorvic_1.png"));
    EXPECT_TRUE(FolderEntries(desktop).empty());
    EXPECT_TRUE(FolderEntries(appData + L"Qorvic\\").empty()) << "no partial temporary bitmap";

    // The small settings file still fits.
    frame.form->Shutdown();
    EXPECT_EQ(ReadFileBytes(appData + L"Qorvic\\Qorvic.cfg").value_or(""), "0\r\nEnglish\r\n");
}
