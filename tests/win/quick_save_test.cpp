#include "base/file_io_win.h"
#include "mainwindow/form1_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qorvic;
using qorvic::test::FreshFolder;
using qorvic::test::WidePath;

namespace {

class QuickSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        appData_ = FreshFolder(L"appdata");
        desktop_ = FreshFolder(L"desktop");
        Form1::Options options;
        options.homePageUrl = L""; // no update check
        options.appDataFolder = appData_;
        options.desktopFolder = desktop_;
        form_ = std::make_unique<Form1>(options);
        form_->onEnd = nullptr;
        form_->showMessage = [this](const std::wstring& text) { messages_.push_back(text); };
        ASSERT_TRUE(form_->Load());
    }
    void InstallConverter() {
        ASSERT_TRUE(::CopyFileW(WidePath(QORVIC_CONVERTER_EXE).c_str(),
                                (form_->State().DataFolder + L"\\i__view32.exe").c_str(), FALSE));
    }

    std::wstring appData_, desktop_;
    std::unique_ptr<Form1> form_;
    std::vector<std::wstring> messages_;
};

std::string Head(const std::wstring& path, std::size_t n) {
    return ReadFileBytes(path, n).value_or("");
}

} // namespace

TEST_F(QuickSaveTest, BmpIsCopiedUnderTheNextFreeName) {
    form_->MnuExtClick(0, L"BMP");
    form_->MnuExtClick(0, L"BMP");
    EXPECT_EQ(Head(desktop_ + L"Qorvic_1.bmp", 2), "BM");
    EXPECT_EQ(Head(desktop_ + L"Qorvic_2.bmp", 2), "BM");
    ::DeleteFileW((desktop_ + L"Qorvic_1.bmp").c_str());
    form_->MnuExtClick(0, L"BMP");
    EXPECT_TRUE(PathExists(desktop_ + L"Qorvic_1.bmp")) << "the gap is filled again";
    EXPECT_FALSE(PathExists(desktop_ + L"Qorvic_3.bmp"));
    EXPECT_TRUE(messages_.empty());
    // The temporary bitmap is the output picture, rows of 4 bytes padded.
    const std::string temp = Head(form_->TempBitmap(), 64);
    ASSERT_GE(temp.size(), 26u);
    const int width = *reinterpret_cast<const std::int32_t*>(temp.data() + 18);
    EXPECT_EQ(width, form_->picDest.Width());
}

TEST_F(QuickSaveTest, OtherFormatsGoThroughTheConverter) {
    InstallConverter();
    form_->MnuExtClick(4, L"PNG");
    EXPECT_EQ(Head(desktop_ + L"Qorvic_1.png", 8), std::string("\x89PNG\r\n\x1a\n", 8));
    form_->MnuExtClick(2, L"JPG");
    EXPECT_EQ(Head(desktop_ + L"Qorvic_1.jpg", 3), std::string("\xFF\xD8\xFF", 3));
    form_->MnuExtClick(1, L"GIF");
    EXPECT_EQ(Head(desktop_ + L"Qorvic_1.gif", 6), "GIF89a");
    form_->MnuExtClick(5, L"TIF");
    const std::string tif = Head(desktop_ + L"Qorvic_1.tif", 4);
    EXPECT_TRUE(tif == std::string("II*\0", 4) || tif == std::string("MM\0*", 4));
    form_->MnuExtClick(3, L"JP2");
    EXPECT_EQ(Head(desktop_ + L"Qorvic_1.jp2", 12), std::string("\0\0\0\x0cjP  \r\n\x87\n", 12));
    EXPECT_TRUE(messages_.empty()) << "no failure was reported";
}

TEST_F(QuickSaveTest, AHiddenFileIsNeverOverwritten) {
    const std::wstring hidden = desktop_ + L"Qorvic_1.bmp";
    ASSERT_TRUE(WriteFileAtomically(hidden, "keep me"));
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    form_->MnuExtClick(0, L"BMP");
    EXPECT_TRUE(PathExists(desktop_ + L"Qorvic_2.bmp"));
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(hidden).value_or(""), "keep me");
}

TEST_F(QuickSaveTest, MissingConverterIsToldAndLeavesNoFile) {
    form_->MnuExtClick(4, L"PNG");
    EXPECT_FALSE(PathExists(desktop_ + L"Qorvic_1.png"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(L"Qorvic_1.png"), std::wstring::npos)
        << "the message names the file";
}
