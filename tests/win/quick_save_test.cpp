// Quick saves to the desktop: the next free name and hidden files kept. Every
// format through the real converter, decoded by outside tools, is
// tests/e2e/test_formats_decode.sh; failures are the fault tests'.
#include "frame_support_win.h"

#include <gtest/gtest.h>

using namespace qorvic;
using namespace qorvic::test;

// A hidden Qorvic_1.bmp takes the first name and stays as it was; the
// names after it follow. Gaps in the numbering: the native QuickSave tests.
TEST(QuickSaveTest, TakesTheNextFreeNameAndNeverOverwritesAHiddenFile) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    const std::wstring desktop = frame.Desktop(), hidden = desktop + L"Qorvic_1.bmp";
    ASSERT_TRUE(WriteFileAtomically(hidden, "keep me"));
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    QuickSave(*frame, ImageFormat::Bmp);
    QuickSave(*frame, ImageFormat::Bmp);
    EXPECT_EQ(ReadFileBytes(desktop + L"Qorvic_2.bmp", 2).value_or(""), "BM");
    EXPECT_EQ(ReadFileBytes(desktop + L"Qorvic_3.bmp", 2).value_or(""), "BM");
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(hidden).value_or(""), "keep me");
    EXPECT_TRUE(frame.messages.empty());
}
