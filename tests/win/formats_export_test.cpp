// Quick-saves one real capture in every format and hands the files, with the
// captured pixels, to a folder that the Linux side checks with ImageMagick and
// OpenJPEG (tests/e2e/test_formats_decode.sh). Run on its own only: without
// QORVIC_FORMATS_OUT it is skipped, since it checks nothing by itself that the
// quick-save tests do not.
#include "frame_support_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// A screenshot-like pattern of fewer than 256 colours: a stepped gradient
// desktop, a window with a title bar, lines of thin glyph strokes and buttons.
COLORREF PatternAt(int x, int y) {
    const bool inWindow = x >= 240 && x < 760 && y >= 150 && y < 560;
    if (!inWindow) {
        const int step = (x / 6 + y / 9) % 96; // 96 shades of a blue-grey desktop
        return RGB(30 + step, 60 + step, 120 + step);
    }
    if (y < 178)
        return x < 700 ? RGB(0x2b, 0x57, 0x9a) : RGB(0xe8, 0x11, 0x23);
    if (x >= 600 && x < 700 && y >= 510 && y < 540)
        return RGB(0x00, 0x78, 0xd7);
    // Lines of glyphs: a stem and a bar per glyph cell, words of 2 to 7 glyphs.
    const int line = (y - 190) / 18;
    const int row = (y - 190) % 18;
    const int cell = (x - 250) / 8;
    const int column = (x - 250) % 8;
    const bool inWord = (cell * 5 + line * 3) % 9 != 0 && x < 700 - (line * 37) % 200;
    const bool stroke =
        y >= 190 && row < 10 && inWord &&
        ((column == 1 && row > (cell + line) % 3) || (row == 4 && column > 1 && column < 5));
    if (stroke)
        return line % 4 == 3 ? RGB(0xc0, 0x20, 0x20) : RGB(0x20, 0x20, 0x20);
    return RGB(0xf4, 0xf4, 0xf4);
}

// The captured pixels as a binary PPM: written here, not by the program, so the
// reference shares no code with what it checks.
std::string AsPpm(const Picture& picture) {
    std::string ppm = "P6\n" + std::to_string(picture.Width()) + " " +
                      std::to_string(picture.Height()) + "\n255\n";
    ppm += picture.ToRgb();
    return ppm;
}

} // namespace

TEST(FormatsExport, EveryFormatOfOneCaptureIsWrittenForTheDecoders) {
    const char* out = std::getenv("QORVIC_FORMATS_OUT");
    if (!out)
        GTEST_SKIP() << "QORVIC_FORMATS_OUT names no folder";
    const std::wstring outFolder = WidePath(out) + L"\\";

    PatternWindow pattern(PatternAt, 0, 0, 800, 600);
    TestFrame frame;
    ASSERT_TRUE(frame.Start());
    ASSERT_TRUE(frame.InstallConverter());
    FrameWindow* form = frame.form.get();
    ::SetWindowPos(form->hwnd(), HWND_TOPMOST, 100, 60, 0, 0, SWP_NOSIZE);
    Pump();

    // Every format from the same capture: the pattern stays still, so each quick
    // save captures the same pixels, checked below.
    std::set<std::string> captures;
    for (ImageFormat format : {ImageFormat::Bmp, ImageFormat::Gif, ImageFormat::Jpg,
                               ImageFormat::Jp2, ImageFormat::Png, ImageFormat::Tif}) {
        QuickSave(*form, format);
        captures.insert(AsPpm(Output(*form)));
    }
    EXPECT_EQ(captures.size(), 1u) << "the pattern changed between the quick saves";
    EXPECT_TRUE(frame.messages.empty()) << "a quick save failed";
    ASSERT_GT(Output(*form).Width(), 100);
    ASSERT_GT(Output(*form).Height(), 100);

    ASSERT_TRUE(WriteFileAtomically(outFolder + L"capture.ppm", *captures.begin()));
    for (const wchar_t* format : {L"bmp", L"gif", L"jpg", L"jp2", L"png", L"tif"}) {
        const std::wstring name = std::wstring(L"Qorvic_1.") + format;
        EXPECT_TRUE(
            ::CopyFileW((frame.Desktop() + name).c_str(), (outFolder + name).c_str(), FALSE))
            << "no " << std::string(name.begin(), name.end()) << " on the desktop";
    }
}
