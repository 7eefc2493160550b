// The wait cursor while the program waits for the converter, and the class
// cursor outside a wait.
#include "base/wait_cursor_win.h"

#include "capture/converter_run_win.h"
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace qorvic;
using namespace qorvic::test;

namespace {

HCURSOR ShownCursor() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

class WaitCursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame_.Start());
        form_ = frame_.form.get();
        ::SetForegroundWindow(form_->hwnd());
        Pump();
        arrow_ = ::LoadCursorW(nullptr, IDC_ARROW);
        ::SetCursor(arrow_);
    }

    // Runs WaitForConverter on `handle` while another thread looks at the cursor the
    // user sees once the wait has begun, then lets the wait end.
    HCURSOR CursorDuringWait(HANDLE handle, HANDLE release) {
        std::atomic<HCURSOR> seen{nullptr};
        std::thread watcher([&] {
            ::Sleep(500); // by then the message passes are done and the wait blocks
            seen = ShownCursor();
            if (release)
                ::SetEvent(release);
        });
        // A pointer move arriving during the wait's message pass: without care
        // it would put the class arrow back.
        ::PostMessageW(form_->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form_->hwnd()),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        WaitForConverter(handle);
        watcher.join();
        return seen;
    }

    TestFrame frame_;
    FrameWindow* form_ = nullptr;
    HCURSOR arrow_ = nullptr;
};

TEST_F(WaitCursorTest, ShowsTheWaitCursorWhileWaitingAndRestoresItAfter) {
    KernelHandle converterEnd(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(converterEnd);
    EXPECT_EQ(CursorDuringWait(converterEnd.get(), converterEnd.get()), WaitCursorScope::Cursor())
        << "the pointer did not show the wait cursor while the converter ran";
    EXPECT_EQ(::GetCursor(), arrow_) << "the cursor was not restored after the wait";
    EXPECT_FALSE(WaitCursorScope::Active());
    // No process to wait for (the converter could not start): the cursor stays.
    WaitForConverter(nullptr);
    EXPECT_EQ(::GetCursor(), arrow_);
    EXPECT_FALSE(WaitCursorScope::Active());
}

TEST_F(WaitCursorTest, OutsideAWaitTheWindowKeepsItsClassCursor) {
    ::SendMessageW(form_->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form_->hwnd()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::GetCursor(), WaitCursorScope::Cursor());
    {
        WaitCursorScope outer;
        { WaitCursorScope inner; }
        EXPECT_TRUE(WaitCursorScope::Active()) << "an inner scope ended the outer one's wait";
        ::SendMessageW(form_->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form_->hwnd()),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor(), WaitCursorScope::Cursor());
    }
    EXPECT_FALSE(WaitCursorScope::Active());
}

} // namespace
