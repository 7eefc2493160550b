// The hand-off to Norvane against windows of this process standing in for it:
// F7 only to a Norvane window that really came to the front, none without one,
// and none when the picture could not reach the clipboard. The real stand-in
// receiving exactly the capture is tests/e2e/test_menus.sh.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace qorvic;
using namespace qorvic::test;

namespace {

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

TEST(HandOff, WithoutAReceiverNoKeyIsTyped) {
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    ThreadWindow focus(L"key counter", 900);
    ::SetForegroundWindow(focus.hwnd());
    Choose(*frame, menus::OptionsRow::HandOff);
    PumpFor(500);
    EXPECT_EQ(focus.f7, 0);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB))
        << "the picture is on the clipboard all the same";
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
