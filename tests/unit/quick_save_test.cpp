#include "capture/quick_save.h"
#include "menus/menu_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace qorvic;

TEST(QuickSave, FillsTheFirstGap) {
    std::set<std::wstring> files = {L"D:\\Desk\\Qorvic_1.png", L"D:\\Desk\\Qorvic_3.png",
                                    L"D:\\Desk\\Qorvic_2.jpg"};
    auto exists = [&](const std::wstring& name) { return files.count(name) > 0; };
    EXPECT_EQ(NextFreeQuickSaveName(L"D:\\Desk\\", L"png", exists), L"D:\\Desk\\Qorvic_2.png");
    EXPECT_EQ(NextFreeQuickSaveName(L"D:\\Desk\\", L"jpg", exists), L"D:\\Desk\\Qorvic_1.jpg");
    files.insert(L"D:\\Desk\\Qorvic_2.png");
    EXPECT_EQ(NextFreeQuickSaveName(L"D:\\Desk\\", L"png", exists), L"D:\\Desk\\Qorvic_4.png");
    // Without a desktop folder the name is relative, as the folder lookup gave "".
    EXPECT_EQ(NextFreeQuickSaveName(L"", L"gif", exists), L"Qorvic_1.gif");
}

// The format submenu shows captions; the file gets the format of the row
// picked, so each row's format must be the one its caption names.
TEST(QuickSave, EachFormatRowSavesTheFormatItsCaptionNames) {
    const std::vector<std::wstring> captions = menus::FormatItems();
    for (std::size_t row = 0; row < captions.size(); ++row) {
        const std::optional<ImageFormat> format = ImageFormatAt(row);
        ASSERT_TRUE(format) << row;
        EXPECT_EQ(FileExtension(*format), LowerExtension(captions[row])) << row;
    }
    EXPECT_FALSE(ImageFormatAt(captions.size()));
}

TEST(QuickSave, ConverterCommandLineIsExactAndUnquoted) {
    EXPECT_EQ(ConverterCommandLine(L"C:\\Users\\A B\\AppData\\Roaming\\Qorvic",
                                   L"C:\\Users\\A B\\Desktop\\Qorvic_1.png"),
              L"C:\\Users\\A B\\AppData\\Roaming\\Qorvic\\i__view32.exe "
              L"C:\\Users\\A B\\AppData\\Roaming\\Qorvic\\Temp.bmp "
              L"/ini=C:\\Users\\A B\\AppData\\Roaming\\Qorvic\\ini "
              L"/convert=C:\\Users\\A B\\Desktop\\Qorvic_1.png");
}
