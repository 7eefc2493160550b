// Drives the real norvane_receiver.exe as the hand-off does: a picture on the
// clipboard, F7 into its window, then the saved file, the printed line and the
// picture on screen are checked.
#include <windows.h>

#include "base/handles_win.h"
#include "bmp_reader.h"
#include "dib.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace qorvic;

namespace {

std::wstring WinePath(const char* path) {
    std::wstring wide(path, path + std::strlen(path));
    if (!wide.empty() && wide[0] == L'/') {
        for (wchar_t& c : wide)
            if (c == L'/')
                c = L'\\';
        wide = L"Z:" + wide;
    }
    return wide;
}

// Four solid quadrants: red, green / blue, white.
conv::Image Quadrants(int w, int h) {
    conv::Image image;
    image.width = w;
    image.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            const std::uint32_t c =
                bottom ? (right ? 0xFFFFFF : 0x0000FF) : (right ? 0x00FF00 : 0xFF0000);
            image.rgb.insert(image.rgb.end(),
                             {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                              static_cast<std::uint8_t>(c)});
        }
    return image;
}

struct GlobalFreeDeleter {
    void operator()(void* h) const { ::GlobalFree(h); }
};

bool PutDibOnClipboard(const std::vector<std::uint8_t>& dib) {
    ClipboardScope clipboard(nullptr);
    if (!clipboard.ok() || !::EmptyClipboard())
        return false;
    if (dib.empty())
        return true;
    std::unique_ptr<void, GlobalFreeDeleter> memory(::GlobalAlloc(GMEM_MOVEABLE, dib.size()));
    if (!memory)
        return false;
    {
        void* p = ::GlobalLock(memory.get());
        std::memcpy(p, dib.data(), dib.size());
        ::GlobalUnlock(memory.get());
    }
    if (!::SetClipboardData(CF_DIB, memory.get()))
        return false;
    memory.release(); // the clipboard owns it now
    return true;
}

class Receiver {
public:
    explicit Receiver(const std::wstring& savePath) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!::CreatePipe(&read, &write, &inherit, 0))
            return;
        output_.reset(read);
        KernelHandle childEnd(write);
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);

        std::wstring line = L"\"" + WinePath(QORVIC_RECEIVER_EXE) + L"\" /save=" + savePath;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                              &startup, &info))
            return;
        process_.reset(info.hProcess);
        KernelHandle thread(info.hThread);
        pid_ = info.dwProcessId;
    }
    ~Receiver() {
        if (window_)
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        if (process_ && ::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0)
            ::TerminateProcess(process_.get(), 1);
    }

    // Its top-level window, found by process and title; waits for it to appear.
    HWND Window() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!window_ && std::chrono::steady_clock::now() < deadline) {
            ::EnumWindows(
                [](HWND hwnd, LPARAM self) -> BOOL {
                    auto* me = reinterpret_cast<Receiver*>(self);
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(hwnd, &pid);
                    wchar_t title[256] = {};
                    ::GetWindowTextW(hwnd, title, 256);
                    if (pid == me->pid_ && std::wcsstr(title, L"Norvane") &&
                        ::IsWindowVisible(hwnd)) {
                        me->window_ = hwnd;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
            if (!window_)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return window_;
    }

    // The next line the program prints, or "" after `seconds`.
    std::string NextLine(double seconds = 10) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::size_t end = buffer_.find("\r\n");
            if (end != std::string::npos) {
                const std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 2);
                return line;
            }
            DWORD available = 0;
            if (::PeekNamedPipe(output_.get(), nullptr, 0, nullptr, &available, nullptr) &&
                available) {
                std::string chunk(available, '\0');
                DWORD got = 0;
                ::ReadFile(output_.get(), chunk.data(), available, &got, nullptr);
                buffer_.append(chunk, 0, got);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        return std::string();
    }

    bool started() const { return pid_ != 0; }

private:
    KernelHandle process_, output_;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
    std::string buffer_;
};

std::optional<std::vector<std::uint8_t>> ReadAll(const std::wstring& path) {
    KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!file || file.get() == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(::GetFileSize(file.get(), nullptr));
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(window, &p);
    WindowDc screen(nullptr);
    return ::GetPixel(screen.get(), p.x, p.y);
}

class ReceiverRun : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        folder_ =
            std::wstring(temp) + L"norvane receiver " + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        target_ = folder_ + L"\\got it.bmp";
    }
    void TearDown() override {
        ::DeleteFileW(target_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    std::wstring folder_, target_;
};

} // namespace

TEST_F(ReceiverRun, F7TakesTheClipboardPictureShowsAndSavesIt) {
    const conv::Image picture = Quadrants(64, 48);
    ASSERT_TRUE(PutDibOnClipboard(conv::EncodeDib32(picture)));
    Receiver receiver(target_);
    ASSERT_TRUE(receiver.started());
    HWND window = receiver.Window();
    ASSERT_NE(window, nullptr) << "no window titled Norvane";

    ASSERT_TRUE(::PostMessageW(window, WM_KEYDOWN, VK_F7, 1));
    EXPECT_EQ(receiver.NextLine(), "received 64x48");

    const auto saved = ReadAll(target_);
    ASSERT_TRUE(saved) << "nothing saved";
    conv::Image back;
    std::string error;
    ASSERT_TRUE(conv::DecodeBmp(*saved, back, error)) << error;
    EXPECT_EQ(back.width, 64);
    EXPECT_EQ(back.height, 48);
    EXPECT_EQ(back.rgb, picture.rgb);

    // The picture fills the client area's middle, scaled up: each quadrant's colour
    // is found around the centre.
    ::UpdateWindow(window);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    RECT client;
    ASSERT_TRUE(::GetClientRect(window, &client));
    const int cx = client.right / 2, cy = client.bottom / 2, d = 40;
    EXPECT_EQ(ScreenPixel(window, cx - d, cy - d), RGB(255, 0, 0));
    EXPECT_EQ(ScreenPixel(window, cx + d, cy - d), RGB(0, 255, 0));
    EXPECT_EQ(ScreenPixel(window, cx - d, cy + d), RGB(0, 0, 255));
    EXPECT_EQ(ScreenPixel(window, cx + d, cy + d), RGB(255, 255, 255));
}

TEST_F(ReceiverRun, F7WithoutAPictureSavesNothing) {
    ASSERT_TRUE(PutDibOnClipboard({}));
    Receiver receiver(target_);
    HWND window = receiver.Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(::PostMessageW(window, WM_KEYDOWN, VK_F7, 1));
    EXPECT_EQ(receiver.NextLine(), "no picture on the clipboard");
    EXPECT_FALSE(ReadAll(target_).has_value());
}
