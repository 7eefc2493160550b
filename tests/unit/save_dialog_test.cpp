#include "capture/quick_save.h"
#include "capture/save_dialog.h"

#include <gtest/gtest.h>

using namespace qorvic;

// Filter n shows the extension it adds to a typed name and names that format
// first; the list ends in the two NULs the dialog needs.
TEST(SaveDialog, EachFilterShowsTheExtensionItAdds) {
    const std::wstring filter = SaveDialogFilter();
    ASSERT_GE(filter.size(), 2u);
    EXPECT_EQ(filter.substr(filter.size() - 2), std::wstring(2, L'\0'));
    unsigned n = 0;
    for (std::size_t at = 0; at + 1 < filter.size(); ++n) {
        const std::wstring description = filter.c_str() + at;
        const std::wstring pattern = filter.c_str() + at + description.size() + 1;
        at += description.size() + pattern.size() + 2;
        const std::wstring extension = ApplyFilterExtension(L"C:\\ScreenShot", n + 1).substr(13);
        EXPECT_EQ(pattern, L"*" + extension) << n + 1;
        EXPECT_EQ(LowerExtension(L"." + description.substr(0, 3)), extension) << n + 1;
    }
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(ApplyFilterExtension(L"C:\\ScreenShot", 0), L"C:\\ScreenShot") << "no filter chosen";
    EXPECT_EQ(ApplyFilterExtension(L"C:\\ScreenShot", 7), L"C:\\ScreenShot");
}

TEST(SaveDialog, OnlyTheFourthCharacterFromTheEndDecides) {
    EXPECT_EQ(ApplyFilterExtension(L"C:\\a.gif", 5), L"C:\\a.gif") << "the typed format wins";
    EXPECT_EQ(ApplyFilterExtension(L"C:\\a.b.c", 5), L"C:\\a.b.c");
    EXPECT_EQ(ApplyFilterExtension(L"C:\\photo.jpeg", 3), L"C:\\photo.jpeg.jpg");
    EXPECT_EQ(ApplyFilterExtension(L"C:\\a.tx", 2), L"C:\\a.tx.gif");
    EXPECT_EQ(ApplyFilterExtension(L"abc", 2), L"abc.gif") << "shorter than four characters";
}

TEST(SaveDialog, BmpPathsAreRecognisedInAnyCase) {
    EXPECT_TRUE(IsBmpPath(L"C:\\x.BMP"));
    EXPECT_FALSE(IsBmpPath(L"C:\\x.png"));
    EXPECT_FALSE(IsBmpPath(L"bmp"));
}
