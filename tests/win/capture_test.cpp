// Captures of the real frame over a striped window: the see-through area, the
// scale, the whole screen, the clipboard, and the scale chosen on the panel.
#include "capture/capture_geometry.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace qorvic;
using namespace qorvic::test;

namespace {

COLORREF StripeAt(int screenX) {
    static const COLORREF stripes[4] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255),
                                        RGB(0, 128, 0)};
    return stripes[(screenX / 8) % 4];
}

// 0x00RRGGBB as the pictures store it.
std::uint32_t AsPixel(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

LRESULT CALLBACK StripesProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_PAINT) {
        PaintScope paint(hwnd);
        RECT client;
        ::GetClientRect(hwnd, &client);
        for (int x = 0; x < client.right; x += 8) {
            RECT band{x, 0, x + 8, client.bottom};
            Brush brush(::CreateSolidBrush(StripeAt(x)));
            ::FillRect(paint.dc(), &band, brush.get());
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, w, l);
}

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = StripesProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CaptureTestStripes";
        ::RegisterClassW(&wc);
        stripes_ = ::CreateWindowExW(0, wc.lpszClassName, L"stripes", WS_POPUP | WS_VISIBLE, 0, 0,
                                     800, 600, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(stripes_, nullptr);
        ASSERT_TRUE(frame_.Start());
        form_ = frame_.form.get();
        ::SetWindowPos(form_->hwnd(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
        PumpFor(200);
    }
    void TearDown() override {
        frame_.form.reset();
        ::DestroyWindow(stripes_);
    }

    const Picture& Raw() const { return form_->commands().capture.Raw(); }

    TestFrame frame_;
    FrameWindow* form_ = nullptr;
    HWND stripes_ = nullptr;
};

} // namespace

TEST_F(CaptureTest, FrameCaptureCopiesTheSeeThroughAreaLessItsBorder) {
    const auto started = std::chrono::steady_clock::now();
    frame_.Choose(menus::OptionsRow::Copy);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    std::printf("capture took %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    EXPECT_TRUE(::IsWindowVisible(form_->hwnd())) << "the frame shows itself again";

    const Box area = form_->Shape().seeThroughArea;
    ASSERT_EQ(Raw().Width(), area.width - 4);
    ASSERT_EQ(Raw().Height(), area.height - 4);
    EXPECT_EQ(frame_.Output().Width(), area.width - 4);

    POINT origin{area.left + 2, area.top + 2};
    ::ClientToScreen(form_->hwnd(), &origin);
    for (int x : {0, 7, 8, 50, area.width - 5}) {
        EXPECT_EQ(Raw().PixelAt(x, 10), AsPixel(StripeAt(origin.x + x))) << "column " << x;
        EXPECT_EQ(frame_.Output().PixelAt(x, 10), AsPixel(StripeAt(origin.x + x)));
    }
}

TEST_F(CaptureTest, WholeScreenCaptureTakesTheScreenOnceAndUnticks) {
    form_->wholeScreenBox.SetValue(true);
    frame_.Choose(menus::OptionsRow::Copy);
    EXPECT_EQ(Raw().Width(), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(Raw().Height(), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_FALSE(form_->wholeScreenBox.Value());
    // Screen pixels land at their screen coordinates.
    RECT outer;
    ::GetWindowRect(form_->hwnd(), &outer);
    EXPECT_EQ(Raw().PixelAt(outer.right + 20, outer.bottom + 20),
              AsPixel(StripeAt(outer.right + 20)));
    frame_.Choose(menus::OptionsRow::Copy);
    EXPECT_EQ(Raw().Width(), form_->Shape().seeThroughArea.width - 4) << "back to the frame";
}

TEST_F(CaptureTest, ClipboardHoldsTheOutputPictureAsADib) {
    {
        ClipboardScope clipboard(nullptr);
        ::EmptyClipboard();
    }
    frame_.Choose(menus::OptionsRow::Copy);
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(data));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, frame_.Output().Width());
    EXPECT_EQ(header->biHeight, frame_.Output().Height());
    EXPECT_EQ(header->biBitCount, 32);
    // Bottom-up: the last row in memory is the top row of the picture.
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(header + 1);
    const int w = header->biWidth;
    const int h = header->biHeight;
    EXPECT_EQ(pixels[static_cast<std::size_t>(h - 1) * w + 3] & 0xFFFFFF,
              frame_.Output().PixelAt(3, 0));
    ::GlobalUnlock(data);
    ::CloseClipboard();
}

// Clipboard managers (and Wine's bridge to the X selection) open the clipboard
// for a moment after each change: a copy that lands in that moment must wait
// for it, not drop the picture.
TEST_F(CaptureTest, CopyWaitsForAnotherHolderOfTheClipboard) {
    KernelHandle held(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        ClipboardScope clipboard(nullptr);
        if (!clipboard.ok())
            return; // the wait below fails the test
        ::EmptyClipboard();
        ::SetEvent(held.get());
        ::Sleep(700); // longer than the capture's own wait before the copy
    });
    ASSERT_EQ(::WaitForSingleObject(held.get(), 5000), WAIT_OBJECT_0);
    frame_.Choose(menus::OptionsRow::Copy);
    holder.join();
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB));
}

// The frame's own panel: the slider's scale is the one the capture applies
// after the panel closed.
TEST_F(CaptureTest, ACaptureAfterClosingTheScalePanelUsesTheChosenScale) {
    ScalePanel& panel = form_->scalePanel;
    frame_.Choose(menus::OptionsRow::OutputSize);
    Pump();

    // Drag the knob to the left end (10 %) and back to 50 %.
    HWND slider = panel.slider.hwnd();
    ::SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(130, 9));
    ::SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(0, 9));
    EXPECT_EQ(panel.ScaleStep(), 1);
    const int fiftyPercent = *SliderHandleLeft(285, 5, 1, 20) + 10;
    ::SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(fiftyPercent, 9));
    ::SendMessageW(slider, WM_LBUTTONUP, 0, ClientPoint(fiftyPercent, 9));
    ASSERT_EQ(panel.ScaleStep(), 5);
    EXPECT_EQ(panel.PercentLabelCaption(), L"50%");

    Click(panel.closeButton.hwnd());
    ASSERT_FALSE(panel.Visible());
    EXPECT_EQ(panel.ScaleStep(), 5) << "closing keeps the scale";

    frame_.Choose(menus::OptionsRow::Copy);
    ASSERT_GT(Raw().Width(), 100);
    const Size half = ScaledSize(Raw().Width(), Raw().Height(), 5);
    EXPECT_EQ(frame_.Output().Width(), half.width);
    EXPECT_EQ(frame_.Output().Height(), half.height);
    EXPECT_NEAR(frame_.Output().Width() * 2, Raw().Width(), 1);
    // Home on the slider: the other end, 200 %.
    ::SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(fiftyPercent, 9));
    ::SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(400, 9));
    ::SendMessageW(slider, WM_LBUTTONUP, 0, ClientPoint(400, 9));
    ASSERT_EQ(panel.ScaleStep(), 20);
    frame_.Choose(menus::OptionsRow::Copy);
    EXPECT_EQ(frame_.Output().Width(), Raw().Width() * 2);
    EXPECT_EQ(frame_.Output().Height(), Raw().Height() * 2);
}
