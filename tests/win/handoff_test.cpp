// The hand-off to Norvane, with the real norvane_receiver.exe standing in for
// it: the picture goes on the clipboard and F7 to the receiver's window, which
// shows and saves it; without a receiver nobody gets a key.
#include "dib.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

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
    std::memcpy(::GlobalLock(memory.get()), dib.data(), dib.size());
    ::GlobalUnlock(memory.get());
    if (!::SetClipboardData(CF_DIB, memory.get()))
        return false;
    memory.release(); // the clipboard owns it now
    return true;
}

// The receiver started as a user would, saving to `savePath`, its printed lines read back.
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
        std::wstring line = L"\"" + WidePath(QORVIC_RECEIVER_EXE) + L"\" /save=" + savePath;
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

    // Its visible top-level window, once it is up.
    HWND Window() {
        PumpUntil([this] {
            for (HWND w = ::FindWindowW(nullptr, L"Norvane receiver"); w && !window_;
                 w = ::FindWindowExW(nullptr, w, nullptr, L"Norvane receiver")) {
                DWORD pid = 0;
                ::GetWindowThreadProcessId(w, &pid);
                if (pid == pid_ && ::IsWindowVisible(w))
                    window_ = w;
            }
            return window_ != nullptr || !pid_;
        });
        return window_;
    }

    // The next line the program prints, or "" after a generous wait.
    std::string NextLine() {
        std::size_t end = std::string::npos;
        PumpUntil([&] {
            DWORD available = 0;
            if (::PeekNamedPipe(output_.get(), nullptr, 0, nullptr, &available, nullptr) &&
                available) {
                std::string chunk(available, '\0');
                DWORD got = 0;
                ::ReadFile(output_.get(), chunk.data(), available, &got, nullptr);
                buffer_.append(chunk, 0, got);
            }
            end = buffer_.find("\r\n");
            return end != std::string::npos;
        });
        const std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end == std::string::npos ? end : end + 2);
        return end == std::string::npos ? std::string() : line;
    }

private:
    KernelHandle process_, output_;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
    std::string buffer_;
};

// Counts the F7 presses that reach a window of this process.
int f7Presses = 0;
LRESULT CALLBACK KeyProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_KEYDOWN && w == VK_F7)
        ++f7Presses;
    return ::DefWindowProcW(hwnd, msg, w, l);
}

// A window on its own thread, pumping its messages, counting the F7 presses it gets.
class ThreadWindow {
public:
    explicit ThreadWindow(const wchar_t* title, int x)
        : shown_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this, title, x] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &ThreadWindow::Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"HandOffThreadWindow";
            ::RegisterClassW(&wc);
            window_ =
                ::CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x,
                                  100, 300, 200, nullptr, nullptr, wc.hInstance, this);
            ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            threadId_ = ::GetCurrentThreadId();
            ::SetEvent(shown_.get());
            MSG msg;
            while (window_ && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (window_)
                ::DestroyWindow(window_);
        });
        ::WaitForSingleObject(shown_.get(), 5000);
    }
    ~ThreadWindow() {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND hwnd() const { return window_; }
    std::atomic<int> f7{0};

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<ThreadWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_KEYDOWN && w == VK_F7)
            ++self->f7;
        return ::DefWindowProcW(hwnd, msg, w, l);
    }
    KernelHandle shown_;
    std::thread thread_;
    HWND window_ = nullptr;
    std::atomic<DWORD> threadId_{0};
};

} // namespace

TEST(HandOff, TheReceiverGetsExactlyTheCapture) {
    const std::wstring saved = FreshFolder(L"handoff") + L"got it.bmp";
    Receiver receiver(saved);
    // The receiver's window must exist before the hand-off looks for it.
    ASSERT_NE(receiver.Window(), nullptr);
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    Choose(*frame, menus::OptionsRow::HandOff);
    EXPECT_EQ(receiver.NextLine(), "received " + std::to_string(Output(*frame).Width()) + "x" +
                                       std::to_string(Output(*frame).Height()));
    const std::string bmp = ReadFileBytes(saved).value_or("");
    ASSERT_GE(bmp.size(), 54u) << "the receiver saved what F7 handed it";
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.substr(54), PictureAsBmp(Output(*frame)).substr(54))
        << "the received pixels are the capture's";
    EXPECT_TRUE(::IsWindowVisible(frame->hwnd()));
    EXPECT_TRUE(::GetWindowLongPtrW(frame->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(HandOff, WithoutAReceiverNoKeyIsTyped) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = KeyProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HandOffKeyCounter";
    ::RegisterClassW(&wc);
    HWND focus = ::CreateWindowExW(0, wc.lpszClassName, L"key counter", WS_POPUP | WS_VISIBLE, 900,
                                   100, 200, 200, nullptr, nullptr, wc.hInstance, nullptr);
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    ::SetForegroundWindow(focus);
    ::SetFocus(focus);
    f7Presses = 0;
    Choose(*frame, menus::OptionsRow::HandOff);
    PumpFor(500);
    EXPECT_EQ(f7Presses, 0);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB))
        << "the picture is on the clipboard all the same";
    ::DestroyWindow(focus);
}

TEST(Receiver, F7ShowsTheClipboardPictureScaledUp) {
    ASSERT_TRUE(PutDibOnClipboard(conv::EncodeDib32(Quadrants(64, 48))));
    Receiver receiver(FreshFolder(L"receiver") + L"got it.bmp");
    HWND window = receiver.Window();
    ASSERT_NE(window, nullptr) << "no window titled Norvane receiver";
    ASSERT_TRUE(::PostMessageW(window, WM_KEYDOWN, VK_F7, 1));
    EXPECT_EQ(receiver.NextLine(), "received 64x48");

    // The picture fills the client area's middle, scaled up: each quadrant's colour
    // is found around the centre.
    ::UpdateWindow(window);
    PumpFor(300);
    RECT client;
    ASSERT_TRUE(::GetClientRect(window, &client));
    const int cx = client.right / 2, cy = client.bottom / 2, d = 40;
    EXPECT_EQ(ScreenPixel(window, cx - d, cy - d), RGB(255, 0, 0));
    EXPECT_EQ(ScreenPixel(window, cx + d, cy - d), RGB(0, 255, 0));
    EXPECT_EQ(ScreenPixel(window, cx - d, cy + d), RGB(0, 0, 255));
    EXPECT_EQ(ScreenPixel(window, cx + d, cy + d), RGB(255, 255, 255));
}

TEST(Receiver, F7WithoutAPictureSavesNothing) {
    ASSERT_TRUE(PutDibOnClipboard({}));
    const std::wstring target = FreshFolder(L"receiver") + L"got it.bmp";
    Receiver receiver(target);
    HWND window = receiver.Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(::PostMessageW(window, WM_KEYDOWN, VK_F7, 1));
    EXPECT_EQ(receiver.NextLine(), "no picture on the clipboard");
    EXPECT_FALSE(PathExists(target));
}

// Another window takes the front back while the hand-off waits (as the frame's
// own late activation does under Wine): Norvane is raised again and gets its F7.
TEST(HandOff, NorvaneIsRaisedAgainWhenAnotherWindowTookTheFront) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    ThreadWindow norvane(L"Norvane (test)", 900);
    ThreadWindow thief(L"thief", 1250);
    std::thread stealer([&] {
        const DWORD start = ::GetTickCount();
        while (::GetForegroundWindow() != norvane.hwnd() && ::GetTickCount() - start < 5000)
            ::Sleep(10);
        ::Sleep(200); // inside the hand-off's fixed waits
        ::SetForegroundWindow(thief.hwnd());
    });
    Choose(*frame, menus::OptionsRow::HandOff);
    stealer.join();
    PumpUntil([&] { return norvane.f7 > 0 || thief.f7 > 0; }, 3000);
    EXPECT_EQ(norvane.f7, 1);
    EXPECT_EQ(thief.f7, 0);
}

// Another program keeps the clipboard past the copy's wait: F7 would make
// Norvane send the clipboard's old content, so no key is typed and the user is told.
TEST(HandOff, APictureThatCannotReachTheClipboardIsToldAndNotSent) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    ThreadWindow norvane(L"Norvane (test)", 900);
    KernelHandle held(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        ClipboardScope clipboard(nullptr);
        if (!clipboard.ok())
            return; // the wait below fails the test
        ::SetEvent(held.get());
        ::Sleep(3000); // past the capture and the copy's wait
    });
    ASSERT_EQ(::WaitForSingleObject(held.get(), 5000), WAIT_OBJECT_0);
    Choose(*frame, menus::OptionsRow::HandOff);
    holder.join();
    PumpFor(1000);
    EXPECT_EQ(norvane.f7, 0);
    ASSERT_EQ(frame.messages.size(), 1u);
    EXPECT_NE(frame.messages[0].find(L"Norvane"), std::wstring::npos);
}
