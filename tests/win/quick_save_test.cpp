// Quick saves to the desktop: the next free name and hidden files kept. Every
// format through the real converter, decoded by outside tools, is
// tests/e2e/test_formats_decode.sh; failures are the fault tests'.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <string>

using namespace qorvic;
using namespace qorvic::test;

namespace {

class QuickSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame_.Start());
        desktop_ = frame_.Desktop();
        form_ = frame_.form.get();
    }
    TestFrame frame_;
    FrameWindow* form_ = nullptr;
    std::wstring desktop_;
};

std::string Head(const std::wstring& path, std::size_t n) {
    return ReadFileBytes(path, n).value_or("");
}

} // namespace

TEST_F(QuickSaveTest, BmpIsCopiedUnderTheNextFreeName) {
    QuickSave(*form_, ImageFormat::Bmp);
    QuickSave(*form_, ImageFormat::Bmp);
    EXPECT_EQ(Head(desktop_ + L"Qorvic_1.bmp", 2), "BM");
    EXPECT_EQ(Head(desktop_ + L"Qorvic_2.bmp", 2), "BM");
    ::DeleteFileW((desktop_ + L"Qorvic_1.bmp").c_str());
    QuickSave(*form_, ImageFormat::Bmp);
    EXPECT_TRUE(PathExists(desktop_ + L"Qorvic_1.bmp")) << "the gap is filled again";
    EXPECT_FALSE(PathExists(desktop_ + L"Qorvic_3.bmp"));
    EXPECT_TRUE(frame_.messages.empty());
}

TEST_F(QuickSaveTest, AHiddenFileIsNeverOverwritten) {
    const std::wstring hidden = desktop_ + L"Qorvic_1.bmp";
    ASSERT_TRUE(WriteFileAtomically(hidden, "keep me"));
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    QuickSave(*form_, ImageFormat::Bmp);
    EXPECT_TRUE(PathExists(desktop_ + L"Qorvic_2.bmp"));
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(hidden).value_or(""), "keep me");
}
