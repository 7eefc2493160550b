#include "base/dpi.h"
#include "base/dpi_win.h"
#include "mainwindow/form1_win.h"
#include "test_support_win.h"

#include <gtest/gtest.h>

using namespace qorvic;

namespace {

RECT OuterRect(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return rc;
}

// The frame's rectangles as the layout for `dpi` must give them in the current client area.
void ExpectLaidOutFor(const Form1& form, int dpi) {
    RECT client{};
    ::GetClientRect(form.hwnd(), &client);
    const int margin = ScaleForDpi(6, dpi);
    EXPECT_EQ(form.picInvisible(),
              (Rect{margin, form.MenuBarHeight + margin, client.right - 2 * margin,
                    client.bottom - form.MenuBarHeight - 2 * margin}));
    EXPECT_EQ(form.State().TwipsPerPixelX, TwipsPerPixelForDpi(dpi));
    EXPECT_EQ(form.State().TwipsPerPixelY, TwipsPerPixelForDpi(dpi));
}

class Form1DpiTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form1::Options options;
        options.appDataFolder = test::FreshFolder(L"dpi");
        options.homePageUrl = L""; // no update check
        form_ = std::make_unique<Form1>(options);
        form_->onEnd = [] {};
        form_->showMessage = [](const std::wstring&) {};
        ASSERT_TRUE(form_->Load(SW_SHOWNOACTIVATE));
        test::Pump();
    }
    void TearDown() override {
        if (form_)
            form_->Form_Unload();
    }
    std::unique_ptr<Form1> form_;
};

} // namespace

TEST_F(Form1DpiTest, StartsLaidOutForTheWindowsDpi) {
    Form1& form = *form_;
    EXPECT_EQ(form.Dpi(), WindowDpi(form.hwnd()));
    EXPECT_EQ(form.MenuBarHeight, SystemMetricForDpi(SM_CYMENU, form.Dpi()));
    ExpectLaidOutFor(form, form.Dpi());
    // The designed 304 x 228 client, scaled.
    RECT client{};
    ::GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(304, form.Dpi()));
    EXPECT_EQ(client.bottom, ScaleForDpi(228, form.Dpi()));
}

TEST_F(Form1DpiTest, DpiChangeTakesTheSuggestedRectangleAndRelaysOut) {
    Form1& form = *form_;
    const int before = form.Dpi();
    const RECT old = OuterRect(form.hwnd());
    const int after = before == 144 ? 192 : 144;

    // What the system sends when the window moves to a monitor with another scale.
    RECT suggested{old.left + 40, old.top + 30,
                   old.left + 40 + ScaleForDpi(old.right - old.left, after * 96 / before),
                   old.top + 30 + ScaleForDpi(old.bottom - old.top, after * 96 / before)};
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(after, after),
                   reinterpret_cast<LPARAM>(&suggested));
    test::Pump();

    EXPECT_EQ(form.Dpi(), after);
    const RECT now = OuterRect(form.hwnd());
    EXPECT_EQ(now.left, suggested.left);
    EXPECT_EQ(now.top, suggested.top);
    EXPECT_EQ(now.right, suggested.right);
    EXPECT_EQ(now.bottom, suggested.bottom);
    EXPECT_EQ(form.MenuBarHeight, SystemMetricForDpi(SM_CYMENU, after));
    EXPECT_GT(form.MenuBarHeight, SystemMetricForDpi(SM_CYMENU, before));
    ExpectLaidOutFor(form, after);
    EXPECT_EQ(form.picInvisible().left, ScaleForDpi(6, after));

    // Back on the first monitor the layout is the old one again, even when the
    // suggested size does not change and so brings no WM_SIZE.
    const RECT same = OuterRect(form.hwnd());
    ::SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(before, before),
                   reinterpret_cast<LPARAM>(&same));
    test::Pump();
    EXPECT_EQ(form.Dpi(), before);
    ExpectLaidOutFor(form, before);
}
