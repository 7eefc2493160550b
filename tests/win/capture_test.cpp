#include "base/file_io_win.h"
#include "base/handles_win.h"
#include "mainwindow/form1_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

using namespace qorvic;
using qorvic::test::FreshFolder;
using qorvic::test::Pump;

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
        Form1::Options options;
        options.homePageUrl = L""; // no update check
        options.appDataFolder = FreshFolder(L"capture");
        form_ = std::make_unique<Form1>(options);
        form_->onEnd = nullptr;
        ASSERT_TRUE(form_->Load());
        ::SetWindowPos(form_->hwnd(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
        Pump();
        ::Sleep(200);
        Pump();
    }
    void TearDown() override {
        form_.reset();
        ::DestroyWindow(stripes_);
    }

    std::unique_ptr<Form1> form_;
    HWND stripes_ = nullptr;
};

} // namespace

TEST_F(CaptureTest, FrameCaptureCopiesTheSeeThroughAreaLessItsBorder) {
    const auto started = std::chrono::steady_clock::now();
    form_->CaptureFrame();
    const auto elapsed = std::chrono::steady_clock::now() - started;
    std::printf("capture took %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    EXPECT_TRUE(::IsWindowVisible(form_->hwnd())) << "the frame shows itself again";

    const Rect area = form_->picInvisible();
    ASSERT_EQ(form_->picCapture.Width(), area.width - 4);
    ASSERT_EQ(form_->picCapture.Height(), area.height - 4);
    EXPECT_EQ(form_->picDest.Width(), area.width - 4);

    POINT origin{area.left + 2, area.top + 2};
    ::ClientToScreen(form_->hwnd(), &origin);
    for (int x : {0, 7, 8, 50, area.width - 5}) {
        EXPECT_EQ(form_->picCapture.PixelAt(x, 10), AsPixel(StripeAt(origin.x + x)))
            << "column " << x;
        EXPECT_EQ(form_->picDest.PixelAt(x, 10), AsPixel(StripeAt(origin.x + x)));
    }
}

TEST_F(CaptureTest, OutputIsScaledByTheScaleStep) {
    form_->ScaleStep = 5;
    form_->CaptureFrame();
    const Rect area = form_->picInvisible();
    EXPECT_EQ(form_->picCapture.Width(), area.width - 4);
    EXPECT_EQ(form_->picDest.Width(), (area.width - 4) / 2);
    form_->ScaleStep = 20;
    form_->CaptureFrame();
    EXPECT_EQ(form_->picDest.Width(), (area.width - 4) * 2);
    EXPECT_EQ(form_->picDest.Height(), (area.height - 4) * 2);
}

TEST_F(CaptureTest, WholeScreenCaptureTakesTheScreenOnceAndUnticks) {
    form_->ckScreen.SetValue(true);
    form_->CaptureFrame();
    EXPECT_EQ(form_->picCapture.Width(), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(form_->picCapture.Height(), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_FALSE(form_->ckScreen.Value());
    // Screen pixels land at their screen coordinates.
    RECT outer;
    ::GetWindowRect(form_->hwnd(), &outer);
    EXPECT_EQ(form_->picCapture.PixelAt(outer.right + 20, outer.bottom + 20),
              AsPixel(StripeAt(outer.right + 20)));
    form_->CaptureFrame();
    EXPECT_EQ(form_->picCapture.Width(), form_->picInvisible().width - 4) << "back to the frame";
}

TEST_F(CaptureTest, ClipboardHoldsTheOutputPictureAsADib) {
    {
        ClipboardScope clipboard(nullptr);
        ::EmptyClipboard();
    }
    form_->ScaleStep = 10;
    form_->CopyCaptureToClipboard();
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(data));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, form_->picDest.Width());
    EXPECT_EQ(header->biHeight, form_->picDest.Height());
    EXPECT_EQ(header->biBitCount, 32);
    // Bottom-up: the last row in memory is the top row of the picture.
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(header + 1);
    const int w = header->biWidth;
    const int h = header->biHeight;
    EXPECT_EQ(pixels[static_cast<std::size_t>(h - 1) * w + 3] & 0xFFFFFF,
              form_->picDest.PixelAt(3, 0));
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
    form_->CopyCaptureToClipboard();
    holder.join();
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB));
}
