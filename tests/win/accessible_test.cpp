// What an accessibility inspector sees of each control, read as one does
// (AccessibleObjectFromWindow): name, role, state and value, and how they
// follow a tick, a slider key, a language switch and the menu keys.
#include "frame_support_win.h"
#include "menus/menu_window_win.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

VARIANT Child(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// One window's client object as a screen reader gets it.
struct Inspected {
    ComRef<IAccessible> object;
    explicit Inspected(HWND window) {
        IAccessible* found = nullptr;
        if (SUCCEEDED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&found))))
            object.reset(found);
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                      long child = 0) const {
        BSTR text = nullptr;
        if (!object || (object.get()->*get)(Child(child), &text) != S_OK || !text)
            return L"(none)";
        std::wstring result(text, ::SysStringLen(text));
        ::SysFreeString(text);
        return result;
    }
    std::wstring Name(long child = 0) const { return Text(&IAccessible::get_accName, child); }
    std::wstring Value(long child = 0) const { return Text(&IAccessible::get_accValue, child); }
    std::wstring Action(long child = 0) const {
        return Text(&IAccessible::get_accDefaultAction, child);
    }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
                long child = 0) const {
        VARIANT v{};
        if (!object || FAILED((object.get()->*get)(Child(child), &v)) || v.vt != VT_I4)
            return -1;
        return v.lVal;
    }
    long Role(long child = 0) const { return Number(&IAccessible::get_accRole, child); }
    long State(long child = 0) const { return Number(&IAccessible::get_accState, child); }
    bool Has(long state, long child = 0) const { return (State(child) & state) != 0; }
    long Children() const {
        long n = -1;
        return object && SUCCEEDED(object->get_accChildCount(&n)) ? n : -1;
    }
    long Focus() const {
        VARIANT v{};
        return object && object->get_accFocus(&v) == S_OK && v.vt == VT_I4 ? v.lVal : -1;
    }
    RECT Location(long child = 0) const {
        RECT r{-1, -1, -1, -1};
        long x, y, w, h;
        if (object && SUCCEEDED(object->accLocation(&x, &y, &w, &h, Child(child))))
            r = {x, y, x + w, y + h};
        return r;
    }
};

// The events this thread raised, as a listening tool hears them (in context:
// at once, also for a menu window destroyed right after it hid).
struct Heard {
    DWORD event;
    HWND window;
    LONG child;
    bool operator==(const Heard& o) const {
        return event == o.event && window == o.window && child == o.child;
    }
};
std::vector<Heard> heard;
void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                     DWORD) {
    if (object == OBJID_CLIENT)
        heard.push_back({event, window, child});
}
struct UnhookEvents {
    void operator()(HWINEVENTHOOK hook) const { ::UnhookWinEvent(hook); }
};
using EventHook = std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, UnhookEvents>;

bool HeardIt(DWORD event, HWND window, LONG child = CHILDID_SELF) {
    Pump();
    for (const Heard& h : heard)
        if (h == Heard{event, window, child})
            return true;
    return false;
}

class AccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        InstallLanguages(frame_.AppData());
        ASSERT_TRUE(
            WriteFileAtomically(frame_.AppData() + L"Qorvic\\Qorvic.cfg", "0\r\nEnglish\r\n"));
        ASSERT_TRUE(frame_.Start());
        form = frame_.form.get();
        Pump();
        heard.clear();
        hook_.reset(::SetWinEventHook(EVENT_MIN, EVENT_MAX, ::GetModuleHandleW(nullptr), &Listen,
                                      ::GetCurrentProcessId(), 0, WINEVENT_INCONTEXT));
        ASSERT_TRUE(hook_);
    }
    void TearDown() override {
        if (form)
            form->Shutdown();
        Pump();
        ::CoUninitialize();
    }
    void Key(HWND window, WPARAM key) {
        ::SendMessageW(window, WM_KEYDOWN, key, 1);
        ::SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    }

    TestFrame frame_;
    FrameWindow* form = nullptr;
    EventHook hook_;
};

} // namespace

TEST_F(AccessibleTest, TheStripsLabelAndCheckBoxFollowATickAndALanguageSwitch) {
    const Inspected label(form->optionsLabel.hwnd());
    const Inspected box(form->wholeScreenBox.hwnd());
    ASSERT_TRUE(label.object && box.object);
    EXPECT_EQ(label.Name(), L"Options");
    EXPECT_EQ(label.Role(), ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(label.Action(), L"Click");
    EXPECT_TRUE(label.Has(STATE_SYSTEM_FOCUSABLE));
    const RECT where = label.Location(), shown = OuterRect(form->optionsLabel.hwnd());
    EXPECT_TRUE(::EqualRect(&where, &shown));
    EXPECT_EQ(box.Name(), L"Capture screen");
    EXPECT_EQ(box.Role(), ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_FALSE(box.Has(STATE_SYSTEM_CHECKED));
    EXPECT_EQ(box.Action(), L"Check");

    // Tab from the label to the box, Space ticks it; the default action unticks it.
    ::SetFocus(form->optionsLabel.hwnd());
    EXPECT_TRUE(label.Has(STATE_SYSTEM_FOCUSED));
    Key(form->optionsLabel.hwnd(), VK_TAB);
    EXPECT_TRUE(box.Has(STATE_SYSTEM_FOCUSED));
    Key(form->wholeScreenBox.hwnd(), VK_SPACE);
    EXPECT_TRUE(form->wholeScreenBox.Value());
    EXPECT_TRUE(box.Has(STATE_SYSTEM_CHECKED));
    EXPECT_TRUE(HeardIt(EVENT_OBJECT_STATECHANGE, form->wholeScreenBox.hwnd()));
    EXPECT_TRUE(HeardIt(EVENT_OBJECT_FOCUS, form->wholeScreenBox.hwnd()));
    EXPECT_EQ(box.Action(), L"Uncheck");
    EXPECT_EQ(box.object->accDoDefaultAction(Child(0)), S_OK);
    EXPECT_FALSE(form->wholeScreenBox.Value());
    EXPECT_FALSE(box.Has(STATE_SYSTEM_CHECKED));

    // German (row 3 of the language list): the same objects give the new names.
    form->OnMenuRowChosen(menus::kLanguageMenu, 3);
    EXPECT_EQ(label.Name(), form->optionsLabel.Caption());
    EXPECT_NE(label.Name(), L"Options");
    EXPECT_TRUE(HeardIt(EVENT_OBJECT_NAMECHANGE, form->optionsLabel.hwnd()));
    EXPECT_EQ(box.Name(), form->wholeScreenBox.Caption());
    EXPECT_NE(box.Name(), L"Capture screen");
}

TEST_F(AccessibleTest, TheSliderSaysItsPercentageAndTheCloseButtonIsAPushButton) {
    Choose(*form, menus::OptionsRow::OutputSize);
    Pump();
    HWND sliderWindow = form->scalePanel.slider.hwnd();
    const Inspected slider(sliderWindow);
    const Inspected close(form->scalePanel.closeButton.hwnd());
    ASSERT_TRUE(slider.object && close.object);
    EXPECT_EQ(slider.Role(), ROLE_SYSTEM_SLIDER);
    EXPECT_EQ(slider.Value(), L"100%");
    EXPECT_EQ(slider.Name(), form->scalePanel.equalsLabel.Caption());
    EXPECT_TRUE(slider.Has(STATE_SYSTEM_FOCUSED))
        << "the slider has the focus when the panel opens";
    const std::pair<WPARAM, const wchar_t*> keys[] = {
        {VK_RIGHT, L"110%"}, {VK_UP, L"120%"},   {VK_PRIOR, L"170%"}, {VK_END, L"200%"},
        {VK_RIGHT, L"200%"}, {VK_NEXT, L"150%"}, {VK_LEFT, L"140%"},  {VK_DOWN, L"130%"},
        {VK_HOME, L"10%"},   {VK_LEFT, L"10%"},
    };
    for (const auto& [key, value] : keys) {
        Key(sliderWindow, key);
        EXPECT_EQ(slider.Value(), value) << "after key " << key;
    }
    EXPECT_EQ(form->scalePanel.ScaleStep(), 1);
    EXPECT_TRUE(HeardIt(EVENT_OBJECT_VALUECHANGE, sliderWindow));

    EXPECT_EQ(close.Role(), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(close.Name(), form->scalePanel.closeButton.Caption());
    EXPECT_EQ(close.Action(), L"Press");
    Key(sliderWindow, VK_TAB);
    EXPECT_TRUE(close.Has(STATE_SYSTEM_FOCUSED));
    Key(form->scalePanel.closeButton.hwnd(), VK_ESCAPE);
    EXPECT_FALSE(form->scalePanel.Visible());
    EXPECT_TRUE(close.Has(STATE_SYSTEM_INVISIBLE));
}

TEST_F(AccessibleTest, MenusAreMenusWhoseHighlightedRowHasTheFocus) {
    // The pointer away from the menus: hovering would move the highlight too.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    // F10 opens the options menu with its first row highlighted.
    Key(form->hwnd(), VK_F10);
    MenuWindow* options = form->Menus().FirstLevel();
    ASSERT_NE(options, nullptr);
    const Inspected menu(options->hwnd());
    ASSERT_TRUE(menu.object);
    EXPECT_EQ(menu.Role(), ROLE_SYSTEM_MENUPOPUP);
    ASSERT_EQ(menu.Children(), 7);
    EXPECT_EQ(menu.Name(1), L"Send to Norvane");
    EXPECT_EQ(menu.Name(5), L"Output size 100%");
    EXPECT_EQ(menu.Role(1), ROLE_SYSTEM_MENUITEM);
    EXPECT_EQ(menu.Focus(), 1);
    EXPECT_TRUE(menu.Has(STATE_SYSTEM_FOCUSED, 1));
    EXPECT_TRUE(HeardIt(EVENT_SYSTEM_MENUPOPUPSTART, options->hwnd()));
    EXPECT_TRUE(HeardIt(EVENT_OBJECT_FOCUS, options->hwnd(), 1));
    for (long row = 1; row <= 7; ++row)
        EXPECT_EQ(menu.Has(STATE_SYSTEM_HASPOPUP, row), row == 4 || row == 7) << row;
    EXPECT_EQ(menu.Location(2).top, OuterRect(options->rowLabel(1)->hwnd()).top);

    // Up wraps to Language; Right opens the languages with English first and checked.
    Key(form->hwnd(), VK_UP);
    EXPECT_EQ(menu.Focus(), 7);
    EXPECT_FALSE(menu.Has(STATE_SYSTEM_FOCUSED, 1));
    Key(form->hwnd(), VK_RIGHT);
    MenuWindow* languages = form->Menus().SecondLevel();
    ASSERT_NE(languages, nullptr);
    const Inspected sub(languages->hwnd());
    EXPECT_EQ(sub.Name(1), L"English");
    EXPECT_EQ(sub.Focus(), 1);
    EXPECT_TRUE(sub.Has(STATE_SYSTEM_CHECKED, 1));
    EXPECT_FALSE(sub.Has(STATE_SYSTEM_CHECKED, 2));

    // Esc closes the submenu, then the menu; the objects a client holds go quiet.
    Key(form->hwnd(), VK_ESCAPE);
    EXPECT_EQ(form->Menus().SecondLevel(), nullptr);
    EXPECT_NE(form->Menus().FirstLevel(), nullptr);
    const HWND closed = options->hwnd();
    Key(form->hwnd(), VK_ESCAPE);
    EXPECT_FALSE(form->Menus().AnyOpen());
    EXPECT_TRUE(HeardIt(EVENT_SYSTEM_MENUPOPUPEND, closed));
    VARIANT role{};
    EXPECT_EQ(menu.object->get_accRole(Child(0), &role), RPC_E_DISCONNECTED);
}
