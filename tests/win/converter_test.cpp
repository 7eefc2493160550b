// Runs the real i__view32.exe the way the program does: copied into a data
// folder whose path has spaces, started with the unquoted command line.
#include <windows.h>

#include "base/handles_win.h"
#include "bmp_reader.h"
#include "bmp_writer.h"
#include "command_line.h"
#include "exit_codes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace qorvic;

namespace {

// The build hands us the converter's path as the build machine spells it; under
// Wine a Unix path is reached through drive Z:.
std::wstring ConverterSource() {
    const std::string path = QORVIC_CONVERTER_EXE;
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide[0] == L'/') {
        for (wchar_t& c : wide)
            if (c == L'/')
                c = L'\\';
        wide = L"Z:" + wide;
    }
    return wide;
}

std::optional<std::vector<std::uint8_t>> ReadAll(const std::wstring& path) {
    KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE || !file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(::GetFileSize(file.get(), nullptr));
    DWORD got = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}

bool WriteAll(const std::wstring& path, const void* data, std::size_t size) {
    KernelHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD put = 0;
    return file.get() != INVALID_HANDLE_VALUE && file &&
           ::WriteFile(file.get(), data, static_cast<DWORD>(size), &put, nullptr) && put == size;
}

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

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}
int Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}

class ConverterRun : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        root_ =
            std::wstring(temp) + L"qorvic converter " + std::to_wstring(::GetCurrentProcessId());
        data_ = root_ + L"\\App Data\\Qorvic";
        desktop_ = root_ + L"\\My Desktop";
        for (const std::wstring& dir :
             {root_, root_ + L"\\App Data", data_, data_ + L"\\ini", desktop_})
            ::CreateDirectoryW(dir.c_str(), nullptr);
        ASSERT_TRUE(
            ::CopyFileW(ConverterSource().c_str(), (data_ + L"\\i__view32.exe").c_str(), FALSE))
            << "converter not found";
    }
    void TearDown() override {
        for (const std::wstring& dir : {desktop_, data_ + L"\\ini", data_}) {
            WIN32_FIND_DATAW found;
            HANDLE find = ::FindFirstFileW((dir + L"\\*").c_str(), &found);
            if (find != INVALID_HANDLE_VALUE) {
                do
                    ::DeleteFileW((dir + L"\\" + found.cFileName).c_str());
                while (::FindNextFileW(find, &found));
                ::FindClose(find);
            }
            ::RemoveDirectoryW(dir.c_str());
        }
        ::RemoveDirectoryW((root_ + L"\\App Data").c_str());
        ::RemoveDirectoryW(root_.c_str());
    }

    void PutSource(const conv::Image& image) {
        const std::vector<std::uint8_t> bmp = conv::EncodeBmp(image);
        ASSERT_TRUE(WriteAll(data_ + L"\\Temp.bmp", bmp.data(), bmp.size()));
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
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE find = ::FindFirstFileW((desktop_ + L"\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    names.push_back(found.cFileName);
            while (::FindNextFileW(find, &found));
            ::FindClose(find);
        }
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
    }

    std::wstring root_, data_, desktop_;
};

} // namespace

TEST_F(ConverterRun, WritesEveryFormatWithItsSizeFromAnUnquotedCommandLine) {
    const int w = 123, h = 45;
    PutSource(TestPicture(w, h));
    const std::wstring base = desktop_ + L"\\Qorvic_1.";

    ASSERT_EQ(Run(base + L"png"), 0u);
    const auto png = ReadAll(base + L"png");
    ASSERT_TRUE(png && png->size() > 45);
    EXPECT_EQ(std::memcmp(png->data(), "\x89PNG\r\n\x1A\n", 8), 0);
    EXPECT_EQ(Be32(*png, 16), static_cast<std::uint32_t>(w));
    EXPECT_EQ(Be32(*png, 20), static_cast<std::uint32_t>(h));
    EXPECT_EQ(std::string(png->end() - 8, png->end() - 4), "IEND");

    ASSERT_EQ(Run(base + L"gif"), 0u);
    const auto gif = ReadAll(base + L"gif");
    ASSERT_TRUE(gif && gif->size() > 13);
    EXPECT_EQ(std::string(gif->begin(), gif->begin() + 6), "GIF89a");
    EXPECT_EQ(Le16(*gif, 6), w);
    EXPECT_EQ(Le16(*gif, 8), h);
    EXPECT_EQ(gif->back(), 0x3B);

    ASSERT_EQ(Run(base + L"JPG"), 0u);
    const auto jpg = ReadAll(base + L"JPG");
    ASSERT_TRUE(jpg && jpg->size() > 200);
    EXPECT_EQ((*jpg)[0], 0xFF);
    EXPECT_EQ((*jpg)[1], 0xD8);
    EXPECT_EQ((*jpg)[jpg->size() - 2], 0xFF);
    EXPECT_EQ((*jpg)[jpg->size() - 1], 0xD9);
    bool sized = false;
    for (std::size_t i = 2; i + 9 < jpg->size(); ++i)
        if ((*jpg)[i] == 0xFF && (*jpg)[i + 1] == 0xC0) {
            EXPECT_EQ(((*jpg)[i + 5] << 8) | (*jpg)[i + 6], h);
            EXPECT_EQ(((*jpg)[i + 7] << 8) | (*jpg)[i + 8], w);
            sized = true;
            break;
        }
    EXPECT_TRUE(sized) << "no baseline frame header";

    ASSERT_EQ(Run(base + L"tif"), 0u);
    const auto tif = ReadAll(base + L"tif");
    ASSERT_TRUE(tif && tif->size() > 8);
    EXPECT_EQ(std::string(tif->begin(), tif->begin() + 4), std::string("II*\0", 4));

    ExpectDesktopHolds({L"Qorvic_1.png", L"Qorvic_1.gif", L"Qorvic_1.JPG", L"Qorvic_1.tif"});
}

TEST_F(ConverterRun, LosslessTargetsKeepEveryPixelAndHonourTheSettingsFile) {
    const conv::Image picture = TestPicture(31, 17);
    PutSource(picture);

    ASSERT_EQ(Run(desktop_ + L"\\copy.bmp"), 0u);
    const auto bmp = ReadAll(desktop_ + L"\\copy.bmp");
    ASSERT_TRUE(bmp);
    conv::Image back;
    std::string error;
    ASSERT_TRUE(conv::DecodeBmp(*bmp, back, error)) << error;
    EXPECT_EQ(back.rgb, picture.rgb);

    // Uncompressed TIFF, chosen in the settings file, holds the pixels row by row.
    const char* ini = "[TIFF]\r\nCompression=None\r\n";
    ASSERT_TRUE(WriteAll(data_ + L"\\ini\\i_view32.ini", ini, std::strlen(ini)));
    ASSERT_EQ(Run(desktop_ + L"\\plain.tif"), 0u);
    const auto tif = ReadAll(desktop_ + L"\\plain.tif");
    ASSERT_TRUE(tif && tif->size() > picture.rgb.size() + 8);
    // The strips follow the 8-byte header directly.
    EXPECT_TRUE(std::equal(picture.rgb.begin(), picture.rgb.end(), tif->begin() + 8));
}

TEST_F(ConverterRun, FailsWithoutLeavingAFileWhenItCannotConvert) {
    // No Temp.bmp at all.
    EXPECT_NE(Run(desktop_ + L"\\Qorvic_1.png"), 0u);
    // Not a bitmap.
    ASSERT_TRUE(WriteAll(data_ + L"\\Temp.bmp", "PK\x03\x04 no bitmap", 14));
    EXPECT_NE(Run(desktop_ + L"\\Qorvic_2.png"), 0u);
    // A format the converter does not write.
    PutSource(TestPicture(8, 8));
    EXPECT_NE(Run(desktop_ + L"\\Qorvic_3.webp"), 0u);
    // A folder that does not exist.
    EXPECT_NE(Run(desktop_ + L"\\missing folder\\Qorvic_4.png"), 0u);
    ExpectDesktopHolds({});
}

TEST_F(ConverterRun, RefusesTruncatedAndCorruptBitmapsWithoutLeavingAFile) {
    const std::vector<std::uint8_t> good = conv::EncodeBmp(TestPicture(64, 48));
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"cut inside the pixels", {good.begin(), good.begin() + good.size() / 2}});
    cases.push_back({"cut inside the header", {good.begin(), good.begin() + 30}});
    std::vector<std::uint8_t> wide = good;
    wide[18] = 0xFF, wide[19] = 0xFF, wide[20] = 0xFF, wide[21] = 0x7F; // width 2^31 - 1
    cases.push_back({"width beyond its data", wide});
    std::vector<std::uint8_t> offset = good;
    offset[10] = 0xFF, offset[11] = 0xFF, offset[12] = 0xFF, offset[13] = 0xFF;
    cases.push_back({"pixel offset past the end", offset});
    std::vector<std::uint8_t> depth = good;
    depth[28] = 7; // 7 bits per pixel
    cases.push_back({"impossible depth", depth});
    int n = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteAll(data_ + L"\\Temp.bmp", c.bytes.data(), c.bytes.size()));
        const std::wstring target = desktop_ + L"\\bad" + std::to_wstring(++n) + L".png";
        EXPECT_EQ(Run(target), static_cast<DWORD>(conv::SourceNotABitmap)) << c.what;
    }
    ExpectDesktopHolds({});
}

TEST_F(ConverterRun, ReplacesAnExistingTarget) {
    ASSERT_TRUE(WriteAll(desktop_ + L"\\shot.png", "old", 3));
    PutSource(TestPicture(16, 16));
    ASSERT_EQ(Run(desktop_ + L"\\shot.png"), 0u);
    const auto png = ReadAll(desktop_ + L"\\shot.png");
    ASSERT_TRUE(png && png->size() > 8);
    EXPECT_EQ((*png)[1], 'P');
    ExpectDesktopHolds({L"shot.png"});
}

TEST_F(ConverterRun, LeavesAReadOnlyTargetAsItWas) {
    ASSERT_TRUE(WriteAll(desktop_ + L"\\kept.png", "old", 3));
    ASSERT_TRUE(::SetFileAttributesW((desktop_ + L"\\kept.png").c_str(), FILE_ATTRIBUTE_READONLY));
    PutSource(TestPicture(16, 16));
    EXPECT_EQ(Run(desktop_ + L"\\kept.png"), static_cast<DWORD>(conv::TargetUnwritable));
    ::SetFileAttributesW((desktop_ + L"\\kept.png").c_str(), FILE_ATTRIBUTE_NORMAL);
    const auto kept = ReadAll(desktop_ + L"\\kept.png");
    EXPECT_TRUE(kept && std::string(kept->begin(), kept->end()) == "old");
    ExpectDesktopHolds({L"kept.png"});
}

TEST_F(ConverterRun, ConvertsAnEightKPictureWellWithinTheWait) {
    PutSource(TestPicture(7680, 4320));
    for (const wchar_t* ext : {L"png", L"jpg", L"gif", L"tif"}) {
        double seconds = 0;
        ASSERT_EQ(Run(desktop_ + L"\\big." + ext, &seconds), 0u) << ext;
        std::printf("7680x4320 to %ls: %.2f s\n", ext, seconds);
        // The program waits 5 s; a loaded machine may slow us, a slow encoder would
        // show here as many times that.
        EXPECT_LT(seconds, 10.0) << ext;
    }
}
