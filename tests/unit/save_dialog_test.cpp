#include "capture/save_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qorvic;

TEST(SaveDialog, FiltersAreSixPairsEndingInTwoNuls) {
    const std::wstring filter = SaveDialogFilter();
    ASSERT_GE(filter.size(), 2u);
    EXPECT_EQ(filter.substr(filter.size() - 2), std::wstring(2, L'\0'));
    EXPECT_EQ(std::count(filter.begin(), filter.end(), L'\0'), 13);
    EXPECT_NE(filter.find(L"TIF - Tagged Image File Format"), std::wstring::npos);
}

TEST(SaveDialog, TypedNameWithoutExtensionGetsTheFiltersOne) {
    EXPECT_EQ(ApplyFilterExtension(L"C:\\ScreenShot", 6), L"C:\\ScreenShot.tif");
    EXPECT_EQ(ApplyFilterExtension(L"C:\\ScreenShot", 1), L"C:\\ScreenShot.bmp");
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
