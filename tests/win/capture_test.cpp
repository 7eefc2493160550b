// Captures of the real frame over a striped window: the see-through area less
// its border, the whole screen, the clipboard, and the scale from the panel.
#include "base/dpi.h"
#include "capture/capture_geometry.h"

#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// 8-pixel stripes from screen column 0: red, blue, white, green; from screen
// row 250 down a one-pixel black-and-white checkerboard.
COLORREF PatternAt(int screenX, int screenY) {
    if (screenY >= 250)
        return (screenX + screenY) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    static const COLORREF stripes[4] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255),
                                        RGB(0, 128, 0)};
    return stripes[(screenX / 8) % 4];
}

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame_.Start());
        form_ = frame_.form.get();
        ::SetWindowPos(form_->hwnd(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
        PumpFor(200);
    }
    const Picture& Raw() const { return form_->commands().capture.Raw(); }

    PatternWindow pattern_{PatternAt, 0, 0, 800, 600};
    TestFrame frame_;
    FrameWindow* form_ = nullptr;
};

} // namespace

// Also run on screens of 125, 150 and 200 %, where the border scales.
TEST_F(CaptureTest, FrameCaptureCopiesTheSeeThroughAreaLessItsBorder) {
    Choose(*frame_, menus::OptionsRow::Copy);
    EXPECT_TRUE(::IsWindowVisible(form_->hwnd())) << "the frame shows itself again";
    const auto& area = form_->Shape().seeThroughArea;
    const int border = ScaleForDpi(2, form_->Dpi());
    ASSERT_EQ(Raw().Width(), area.width - 2 * border);
    ASSERT_EQ(Raw().Height(), area.height - 2 * border);
    POINT origin{area.left + border, area.top + border};
    ::ClientToScreen(form_->hwnd(), &origin);
    for (int x : {0, 7, 8, 50, Raw().Width() - 1}) {
        EXPECT_EQ(Raw().PixelAt(x, 10), AsPixel(PatternAt(origin.x + x, origin.y + 10)))
            << "column " << x;
        EXPECT_EQ(Output(*frame_).PixelAt(x, 10), Raw().PixelAt(x, 10)) << "at 100 %";
    }
}

TEST_F(CaptureTest, WholeScreenCaptureTakesTheScreenOnceAndUnticks) {
    form_->wholeScreenBox.SetValue(true);
    Choose(*frame_, menus::OptionsRow::Copy);
    EXPECT_EQ(Raw().Width(), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(Raw().Height(), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_FALSE(form_->wholeScreenBox.Value());
    // Screen pixels land at their screen coordinates.
    const RECT outer = OuterRect(form_->hwnd());
    EXPECT_EQ(Raw().PixelAt(outer.right + 20, outer.bottom + 20),
              AsPixel(PatternAt(outer.right + 20, outer.bottom + 20)));
    Choose(*frame_, menus::OptionsRow::Copy);
    EXPECT_LT(Raw().Width(), form_->Shape().seeThroughArea.width) << "back to the frame";
}

TEST_F(CaptureTest, ClipboardHoldsTheOutputPictureAsADib) {
    {
        ClipboardScope clipboard(nullptr);
        ::EmptyClipboard();
    }
    Choose(*frame_, menus::OptionsRow::Copy);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_DIB);
    const auto* header = data ? static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data)) : nullptr;
    if (header) {
        EXPECT_EQ(header->biWidth, Output(*frame_).Width());
        EXPECT_EQ(header->biHeight, Output(*frame_).Height());
        EXPECT_EQ(header->biBitCount, 32);
        // Bottom-up: the last row in memory is the top row of the picture.
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(header + 1);
        const std::size_t w = static_cast<std::size_t>(header->biWidth);
        EXPECT_EQ(pixels[(header->biHeight - 1) * w + 3] & 0xFFFFFF, Output(*frame_).PixelAt(3, 0));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    EXPECT_NE(header, nullptr) << "no DIB on the clipboard";
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
    Choose(*frame_, menus::OptionsRow::Copy);
    holder.join();
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB));
}

// The scale set on the frame's own panel is the one later captures apply.
TEST_F(CaptureTest, ACaptureAfterClosingTheScalePanelUsesTheChosenScale) {
    ScalePanel& panel = form_->scalePanel;
    Choose(*frame_, menus::OptionsRow::OutputSize);
    panel.slider.SetValue(5);
    Click(panel.closeButton.hwnd());
    ASSERT_FALSE(panel.Visible());
    Choose(*frame_, menus::OptionsRow::Copy);
    ASSERT_GT(Raw().Width(), 100);
    const Size half = ScaledSize(Raw().Width(), Raw().Height(), 5);
    EXPECT_EQ(Output(*frame_).Width(), half.width);
    EXPECT_EQ(Output(*frame_).Height(), half.height);
    EXPECT_NEAR(Output(*frame_).Width() * 2, Raw().Width(), 1);
    // A shrink averages what it merges, under Wine as on Windows: the
    // checkerboard in the lower part comes out flat grey.
    const int y = Raw().Height() * 3 / 4;
    ASSERT_NE(Raw().PixelAt(0, y), Raw().PixelAt(1, y)) << "no checkerboard";
    for (int x : {0, 1, Output(*frame_).Width() / 2})
        EXPECT_NEAR(Output(*frame_).PixelAt(x, y / 2) & 0xFF, 128, 2) << "column " << x;

    panel.slider.SetValue(20);
    Choose(*frame_, menus::OptionsRow::Copy);
    EXPECT_EQ(Output(*frame_).Width(), Raw().Width() * 2);
    EXPECT_EQ(Output(*frame_).Height(), Raw().Height() * 2);
    EXPECT_EQ(Output(*frame_).PixelAt(21, 20), Raw().PixelAt(10, 10)) << "each pixel doubled";
}
