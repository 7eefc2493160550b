// Runs the real i__view32.exe as the program does: copied into a data folder
// whose path has spaces, started with the unquoted command line. What
// each format decodes to is tests/e2e/test_formats_decode.sh; here, the
// settings file, failures, replacing and names at the length limit.
#include "base/file_io_win.h"
#include "bmp_writer.h"
#include "capture/converter_run_win.h"
#include "pictures.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

std::string AsBytes(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class ConverterProgram : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::wstring& dir : {root_ + L"App Data", data_, data_ + L"\\ini", desktop_})
            ::CreateDirectoryW(dir.c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW(WidePath(QORVIC_CONVERTER_EXE).c_str(),
                                (data_ + L"\\i__view32.exe").c_str(), FALSE))
            << "converter not found";
    }

    void PutSource(const conv::Image& image) {
        ASSERT_TRUE(WriteFileAtomically(data_ + L"\\Temp.bmp", AsBytes(conv::EncodeBmp(image))));
    }

    // Starts the converter as the program does, waiting as long as it does.
    ConverterRun::Outcome Run(const std::wstring& target) {
        return ConverterRun(data_).Convert(target);
    }

    // Nothing but `expected` may be left in the desktop folder (no temporary files).
    void ExpectDesktopHolds(std::vector<std::wstring> expected) {
        std::vector<std::wstring> names = FolderEntries(desktop_);
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
    }

    const std::wstring root_ = FreshFolder(L"converter");
    const std::wstring data_ = root_ + L"App Data\\Qorvic";
    const std::wstring desktop_ = root_ + L"My Desktop\\";
};

} // namespace

// The program never has the converter write a BMP; the settings file's choice of
// uncompressed TIFF shows that the converter reads it: the strips, row by row,
// follow the 8-byte header directly.
TEST_F(ConverterProgram, HonoursTheSettingsFile) {
    const conv::Image picture = conv::testing::ScreenLikeImage(31, 17);
    PutSource(picture);
    ASSERT_TRUE(
        WriteFileAtomically(data_ + L"\\ini\\i_view32.ini", "[TIFF]\r\nCompression=None\r\n"));
    ASSERT_EQ(Run(desktop_ + L"plain.tif"), ConverterRun::Outcome::Done);
    const std::string tif = ReadFileBytes(desktop_ + L"plain.tif").value_or("");
    EXPECT_EQ(tif.substr(8, picture.rgb.size()), AsBytes(picture.rgb));
}

TEST_F(ConverterProgram, FailsWithoutLeavingAFileWhenItCannotConvert) {
    // No Temp.bmp at all.
    EXPECT_EQ(Run(desktop_ + L"Qorvic_1.png"), ConverterRun::Outcome::Failed);
    // Not a bitmap, and a bitmap cut inside its pixels (every other corruption:
    // the reader's own tests).
    const std::string good = AsBytes(conv::EncodeBmp(conv::testing::ScreenLikeImage(64, 48)));
    for (const std::string& bad :
         {std::string("PK\x03\x04 no bitmap"), good.substr(0, good.size() / 2)}) {
        ASSERT_TRUE(WriteFileAtomically(data_ + L"\\Temp.bmp", bad));
        EXPECT_EQ(Run(desktop_ + L"Qorvic_2.png"), ConverterRun::Outcome::Failed);
    }
    // A format the converter does not write.
    PutSource(conv::testing::ScreenLikeImage(8, 8));
    EXPECT_EQ(Run(desktop_ + L"Qorvic_3.webp"), ConverterRun::Outcome::Failed);
    // A folder that does not exist.
    EXPECT_EQ(Run(desktop_ + L"missing folder\\Qorvic_4.png"), ConverterRun::Outcome::Failed);
    ExpectDesktopHolds({});
}

TEST_F(ConverterProgram, LeavesAReadOnlyTargetAsItWas) {
    ASSERT_TRUE(WriteFileAtomically(desktop_ + L"kept.png", "old"));
    ASSERT_TRUE(::SetFileAttributesW((desktop_ + L"kept.png").c_str(), FILE_ATTRIBUTE_READONLY));
    PutSource(conv::testing::ScreenLikeImage(16, 16));
    EXPECT_EQ(Run(desktop_ + L"kept.png"), ConverterRun::Outcome::Failed);
    ::SetFileAttributesW((desktop_ + L"kept.png").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(desktop_ + L"kept.png").value_or(""), "old");
    ExpectDesktopHolds({L"kept.png"});
}

TEST_F(ConverterProgram, ReplacesATargetOfTheLongestNameAndLeavesNoTemporaryFile) {
    PutSource(conv::testing::ScreenLikeImage(16, 16));
    // 255 characters, the most a file name may have: a temporary name built by
    // lengthening it would not fit. An existing file of that name is replaced.
    const std::wstring longest = std::wstring(251, L'n') + L".png";
    ASSERT_TRUE(WriteFileAtomically(desktop_ + longest, "old"));
    ASSERT_EQ(Run(desktop_ + longest), ConverterRun::Outcome::Done);
    EXPECT_EQ(ReadFileBytes(desktop_ + longest, 4).value_or(""), "\x89PNG");
    ExpectDesktopHolds({longest});

    // Failures after the picture was encoded: a name one too long, and a folder
    // standing where the file should go.
    const std::wstring folder = std::wstring(250, L'f') + L".jpg";
    ASSERT_TRUE(::CreateDirectoryW((desktop_ + folder).c_str(), nullptr));
    for (const std::wstring& name : {L"x" + longest, folder}) {
        SCOPED_TRACE(name.size());
        EXPECT_EQ(Run(desktop_ + name), ConverterRun::Outcome::Failed);
    }
    ExpectDesktopHolds({longest, folder});
}
