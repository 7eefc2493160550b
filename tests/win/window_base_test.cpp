// The window base routes erasing, painting and printing to one paint function,
// into the kind of DC each painting mode promises, and keeps its window's DPI.
#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "base/window_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

using namespace qorvic;

namespace {

constexpr COLORREF kPainted = RGB(200, 30, 90);

// Counts what reaches the window proc and what reaches the paint function.
class Probe : public Window {
public:
    explicit Probe(Painting painting = Painting::System) : Window(painting) {}
    int paints = 0;
    DWORD lastDcType = 0;
    int procPaints = 0;
    int procErases = 0;
    int dpiSeen = 0; // what Dpi() said when WM_DPICHANGED reached the window

protected:
    LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l) override {
        procPaints += msg == WM_PAINT;
        procErases += msg == WM_ERASEBKGND;
        if (msg == WM_DPICHANGED)
            dpiSeen = Dpi();
        return Window::HandleMessage(msg, w, l);
    }
    void PaintClient(HDC dc) override {
        ++paints;
        lastDcType = ::GetObjectType(dc);
        RECT r;
        ::GetClientRect(hwnd(), &r);
        Brush fill(::CreateSolidBrush(kPainted));
        ::FillRect(dc, &r, fill.get());
    }
};

} // namespace

TEST(WindowBase, ServesEraseScreenAndPrintThroughOnePaintFunction) {
    using P = Window::Painting;
    struct Case {
        P painting;
        LRESULT erase;      // what WM_ERASEBKGND answers
        bool eraseReaches;  // whether the window proc sees WM_ERASEBKGND
        DWORD screenDcType; // the DC the paint function gets for WM_PAINT
    };
    const Case cases[] = {
        {P::Covering, 1, false, OBJ_DC},
        {P::OffScreen, 1, false, OBJ_MEMDC},
        {P::OnBackground, 1, true, OBJ_DC}, // the class brush erases
    };
    Brush classBrush(::CreateSolidBrush(RGB(0, 0, 255)));
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.painting));
        Probe probe(c.painting);
        ASSERT_TRUE(probe.CreateWin({.className = L"QorvicPaintProbe",
                                     .style = WS_POPUP | WS_VISIBLE,
                                     .width = 40,
                                     .height = 30,
                                     .background = classBrush.get()}));
        ::UpdateWindow(probe.hwnd());
        probe.paints = probe.procErases = 0;

        const test::Pixels printed(40, 30, [&](HDC dc) {
            const auto wdc = reinterpret_cast<WPARAM>(dc);
            EXPECT_EQ(::SendMessageW(probe.hwnd(), WM_ERASEBKGND, wdc, 0), c.erase);
            EXPECT_EQ(probe.procErases, c.eraseReaches ? 1 : 0);
            EXPECT_EQ(probe.paints, 0) << "erasing is not painting";
            ::SendMessageW(probe.hwnd(), WM_PRINTCLIENT, wdc, PRF_CLIENT);
        });
        EXPECT_EQ(probe.paints, 1);
        EXPECT_EQ(printed.At(20, 15), kPainted);

        ::InvalidateRect(probe.hwnd(), nullptr, TRUE);
        ::UpdateWindow(probe.hwnd());
        EXPECT_EQ(probe.paints, 2);
        EXPECT_EQ(probe.lastDcType, c.screenDcType);
        EXPECT_EQ(probe.procPaints, 0) << "WM_PAINT is the base's";
    }

    // A window that leaves painting to the system gets the messages itself.
    Probe plain(P::System);
    ASSERT_TRUE(plain.CreateWin({.className = L"QorvicPaintProbe",
                                 .style = WS_POPUP | WS_VISIBLE,
                                 .width = 40,
                                 .height = 30}));
    ::InvalidateRect(plain.hwnd(), nullptr, TRUE);
    ::UpdateWindow(plain.hwnd());
    EXPECT_GE(plain.procPaints, 1);
    EXPECT_EQ(plain.paints, 0);
}

TEST(WindowBase, KeepsTheDpiItsWindowIsShownAt) {
    Probe top;
    ASSERT_TRUE(top.CreateWin({.className = L"QorvicProbe", .width = 100, .height = 100}));
    EXPECT_EQ(top.Dpi(), WindowDpi(top.hwnd()));
    const int moved = top.Dpi() == 144 ? 192 : 144;
    RECT suggested{0, 0, 150, 150};
    ::SendMessageW(top.hwnd(), WM_DPICHANGED, MAKEWPARAM(moved, moved),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(top.Dpi(), moved);
    EXPECT_EQ(top.dpiSeen, moved) << "the derived window reads the new DPI";
    EXPECT_EQ(Window::DpiOf(top.hwnd()), moved);

    // A child starts at its parent's DPI; told its parent changed, it takes the system's.
    Probe child;
    ASSERT_TRUE(child.CreateWin({.className = L"QorvicProbe",
                                 .style = WS_CHILD,
                                 .width = 10,
                                 .height = 10,
                                 .parent = top.hwnd()}));
    EXPECT_EQ(child.Dpi(), moved);
    ::SendMessageW(child.hwnd(), WM_DPICHANGED_AFTERPARENT, 0, 0);
    EXPECT_EQ(child.Dpi(), WindowDpi(child.hwnd()));
}
