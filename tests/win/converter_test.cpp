// Runs the real i__view32.exe the way the program does: copied into a data
// folder whose path has spaces, started with the unquoted command line. What
// the written files decode to is checked by tests/e2e/test_formats_decode.sh.
#include "base/file_io_win.h"
#include "bmp_reader.h"
#include "bmp_writer.h"
#include "command_line.h"
#include "exit_codes.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

conv::Image TestPicture(int w, int h) {
    conv::Image image;
    image.width = w;
    image.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = (x / 4 + y / 3) % 5 == 0;
            image.rgb.insert(image.rgb.end(), {static_cast<std::uint8_t>(edge ? 10 : x * 255 / w),
                                               static_cast<std::uint8_t>(edge ? 20 : y * 255 / h),
                                               static_cast<std::uint8_t>(edge ? 200 : 128)});
        }
    return image;
}

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
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    void PutSource(const conv::Image& image) {
        ASSERT_TRUE(WriteFileAtomically(data_ + L"\\Temp.bmp", AsBytes(conv::EncodeBmp(image))));
    }

    // Starts the converter exactly as the program does and returns its exit code.
    DWORD Run(const std::wstring& target, double* seconds = nullptr) {
        std::wstring line = conv::BuildConverterCommandLine(
            data_ + L"\\i__view32.exe", data_ + L"\\Temp.bmp", data_ + L"\\ini", target);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINNOACTIVE;
        PROCESS_INFORMATION info{};
        const auto start = std::chrono::steady_clock::now();
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info)) {
            ADD_FAILURE() << "CreateProcess failed: " << ::GetLastError();
            return 0xFFFFFFFF;
        }
        KernelHandle process(info.hProcess), thread(info.hThread);
        EXPECT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
        if (seconds)
            *seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        DWORD code = 0xFFFFFFFF;
        ::GetExitCodeProcess(process.get(), &code);
        return code;
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

TEST_F(ConverterProgram, WritesEveryFormatFromAnUnquotedCommandLine) {
    PutSource(TestPicture(123, 45));
    const struct {
        const wchar_t* name;
        std::string magic;
    } targets[] = {{L"Qorvic_1.png", "\x89PNG\r\n\x1A\n"},
                   {L"Qorvic_1.gif", "GIF89a"},
                   {L"Qorvic_1.JPG", "\xFF\xD8\xFF"}, // the extension in any letter case
                   {L"Qorvic_1.tif", std::string("II*\0", 4)},
                   {L"Qorvic_1.jp2", std::string("\0\0\0\x0cjP  \r\n\x87\n", 12)}};
    std::vector<std::wstring> written;
    for (const auto& target : targets) {
        SCOPED_TRACE(std::string(target.name, target.name + std::wcslen(target.name)));
        ASSERT_EQ(Run(desktop_ + target.name), 0u);
        const std::string bytes = ReadFileBytes(desktop_ + target.name).value_or("");
        EXPECT_EQ(bytes.substr(0, target.magic.size()), target.magic);
        EXPECT_GT(bytes.size(), 100u);
        written.push_back(target.name);
    }
    ExpectDesktopHolds(written);
}

TEST_F(ConverterProgram, LosslessTargetsKeepEveryPixelAndHonourTheSettingsFile) {
    const conv::Image picture = TestPicture(31, 17);
    PutSource(picture);

    ASSERT_EQ(Run(desktop_ + L"copy.bmp"), 0u);
    const std::string bmp = ReadFileBytes(desktop_ + L"copy.bmp").value_or("");
    conv::Image back;
    std::string error;
    ASSERT_TRUE(conv::DecodeBmp(
        std::span(reinterpret_cast<const std::uint8_t*>(bmp.data()), bmp.size()), back, error))
        << error;
    EXPECT_EQ(back.rgb, picture.rgb);

    // Uncompressed TIFF, chosen in the settings file, holds the pixels row by row.
    ASSERT_TRUE(
        WriteFileAtomically(data_ + L"\\ini\\i_view32.ini", "[TIFF]\r\nCompression=None\r\n"));
    ASSERT_EQ(Run(desktop_ + L"plain.tif"), 0u);
    const std::string tif = ReadFileBytes(desktop_ + L"plain.tif").value_or("");
    // The strips follow the 8-byte header directly.
    EXPECT_EQ(tif.substr(8, picture.rgb.size()), AsBytes(picture.rgb));
}

TEST_F(ConverterProgram, FailsWithoutLeavingAFileWhenItCannotConvert) {
    // No Temp.bmp at all.
    EXPECT_NE(Run(desktop_ + L"Qorvic_1.png"), 0u);
    // Not a bitmap, and a bitmap cut inside its pixels (every other corruption:
    // the reader's own tests).
    const std::string good = AsBytes(conv::EncodeBmp(TestPicture(64, 48)));
    for (const std::string& bad :
         {std::string("PK\x03\x04 no bitmap"), good.substr(0, good.size() / 2)}) {
        ASSERT_TRUE(WriteFileAtomically(data_ + L"\\Temp.bmp", bad));
        EXPECT_EQ(Run(desktop_ + L"Qorvic_2.png"), static_cast<DWORD>(conv::SourceNotABitmap));
    }
    // A format the converter does not write.
    PutSource(TestPicture(8, 8));
    EXPECT_NE(Run(desktop_ + L"Qorvic_3.webp"), 0u);
    // A folder that does not exist.
    EXPECT_NE(Run(desktop_ + L"missing folder\\Qorvic_4.png"), 0u);
    ExpectDesktopHolds({});
}

TEST_F(ConverterProgram, ReplacesAnExistingTarget) {
    ASSERT_TRUE(WriteFileAtomically(desktop_ + L"shot.png", "old"));
    PutSource(TestPicture(16, 16));
    ASSERT_EQ(Run(desktop_ + L"shot.png"), 0u);
    EXPECT_EQ(ReadFileBytes(desktop_ + L"shot.png", 4).value_or(""), "\x89PNG");
    ExpectDesktopHolds({L"shot.png"});
}

TEST_F(ConverterProgram, LeavesAReadOnlyTargetAsItWas) {
    ASSERT_TRUE(WriteFileAtomically(desktop_ + L"kept.png", "old"));
    ASSERT_TRUE(::SetFileAttributesW((desktop_ + L"kept.png").c_str(), FILE_ATTRIBUTE_READONLY));
    PutSource(TestPicture(16, 16));
    EXPECT_EQ(Run(desktop_ + L"kept.png"), static_cast<DWORD>(conv::TargetUnwritable));
    ::SetFileAttributesW((desktop_ + L"kept.png").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(desktop_ + L"kept.png").value_or(""), "old");
    ExpectDesktopHolds({L"kept.png"});
}

TEST_F(ConverterProgram, WritesTheLongestFileNameAndLeavesNoTemporaryFile) {
    PutSource(TestPicture(16, 16));
    // 255 characters, the most a file name may have: a temporary name built by
    // lengthening it would not fit.
    const std::wstring longest = std::wstring(251, L'n') + L".png";
    ASSERT_EQ(Run(desktop_ + longest), 0u);
    EXPECT_EQ(ReadFileBytes(desktop_ + longest, 4).value_or(""), "\x89PNG");
    ExpectDesktopHolds({longest});

    // Failures after the picture was encoded: a name one too long, and a folder
    // standing where the file should go.
    const std::wstring folder = std::wstring(250, L'f') + L".jpg";
    ASSERT_TRUE(::CreateDirectoryW((desktop_ + folder).c_str(), nullptr));
    for (const std::wstring& name : {L"x" + longest, folder}) {
        SCOPED_TRACE(name.size());
        EXPECT_EQ(Run(desktop_ + name), static_cast<DWORD>(conv::TargetUnwritable));
    }
    ExpectDesktopHolds({longest, folder});
}

TEST_F(ConverterProgram, ConvertsLargePicturesWellWithinTheWait) {
    const struct {
        int width, height;
        std::vector<const wchar_t*> formats;
    } runs[] = {{7680, 4320, {L"png", L"jpg", L"gif", L"tif"}},
                {1920, 1080, {L"jp2"}}}; // the slowest encoder at a full screen
    for (const auto& run : runs) {
        PutSource(TestPicture(run.width, run.height));
        for (const wchar_t* ext : run.formats) {
            double seconds = 0;
            ASSERT_EQ(Run(desktop_ + L"big." + ext, &seconds), 0u) << ext;
            std::printf("%dx%d to %ls: %.2f s\n", run.width, run.height, ext, seconds);
            // The program waits 5 s; a loaded machine may slow us, a slow encoder
            // would show here as many times that.
            EXPECT_LT(seconds, 10.0) << ext;
        }
    }
}
