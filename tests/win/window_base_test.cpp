#include "base/handles_win.h"
#include "base/window_win.h"

#include <gtest/gtest.h>

using namespace qorvic;

namespace {

class Probe : public Window {
public:
    int creates = 0;
    int finals = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == WM_CREATE)
            ++creates;
        return Window::HandleMessage(msg, w, l);
    }
    void OnFinalDestroy() override { ++finals; }
};

} // namespace

TEST(WindowBase, KeepsItsObjectWithTheWindowUntilDestroyed) {
    Probe probe;
    ASSERT_TRUE(
        probe.CreateWin(L"QorvicProbe", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr));
    HWND hwnd = probe.hwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(probe.creates, 1);
    EXPECT_EQ(Window::FromHandle(hwnd), &probe);
    ::DestroyWindow(hwnd);
    EXPECT_EQ(probe.hwnd(), nullptr);
    EXPECT_EQ(probe.finals, 1);
    EXPECT_FALSE(::IsWindow(hwnd));

    // A window of another class on this thread may keep anything in its user data.
    HWND other = ::CreateWindowExW(0, L"Static", L"not ours", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ::SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probe));
    EXPECT_EQ(Window::FromHandle(other), nullptr);
    ::DestroyWindow(other);
}

TEST(Handles, SelectedObjectRestoresThePreviousSelection) {
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    Bitmap bitmap(::CreateCompatibleBitmap(dc.get(), 4, 4));
    HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        SelectedObject selected(dc.get(), bitmap.get());
        EXPECT_TRUE(selected.ok());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), before);
}
