#include "base/file_io_win.h"
#include "base/handles_win.h"
#include "mainwindow/form1_win.h"

#include "test_support_win.h"

#include <gtest/gtest.h>

#include <string>

using namespace qorvic;
using qorvic::test::Pump;
using qorvic::test::WidePath;

namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name + std::to_wstring(::GetCurrentProcessId()) + L".bmp";
}

// Counts the F7 presses that reach a window of this process.
int f7Presses = 0;
LRESULT CALLBACK KeyProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_KEYDOWN && w == VK_F7)
        ++f7Presses;
    return ::DefWindowProcW(hwnd, msg, w, l);
}

std::unique_ptr<Form1> LoadForm() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    Form1::Options options;
    options.homePageUrl = L""; // no update check
    options.appDataFolder = std::wstring(temp);
    auto form = std::make_unique<Form1>(options);
    form->onEnd = nullptr;
    form->Load();
    return form;
}

} // namespace

TEST(HandOff, TheReceiverGetsExactlyTheCapture) {
    const std::wstring saved = TempFile(L"norvane_received_");
    ::DeleteFileW(saved.c_str());
    std::wstring command = L"\"" + WidePath(QORVIC_RECEIVER_EXE) + L"\" /save=" + saved;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &info));
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    // The receiver's window must exist before the hand-off looks for it.
    for (int i = 0; i < 250 && !::FindWindowW(nullptr, L"Norvane receiver"); ++i)
        ::Sleep(20);
    ASSERT_NE(::FindWindowW(nullptr, L"Norvane receiver"), nullptr);

    auto form = LoadForm();
    form->HandOffCapture();
    for (int i = 0; i < 1500 && !PathExists(saved); ++i) {
        Pump();
        ::Sleep(20);
    }
    ::TerminateProcess(process.get(), 0);
    ASSERT_TRUE(PathExists(saved)) << "the receiver saved what F7 handed it";
    ::Sleep(100);
    const std::string bmp = ReadFileBytes(saved).value_or("");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.substr(54), form->OutputPictureAsBmp().substr(54))
        << "the received pixels are the capture's";
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    EXPECT_TRUE(::GetWindowLongPtrW(form->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(HandOff, WithoutAReceiverNoKeyIsTyped) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = KeyProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HandOffKeyCounter";
    ::RegisterClassW(&wc);
    HWND focus = ::CreateWindowExW(0, wc.lpszClassName, L"key counter", WS_POPUP | WS_VISIBLE, 900,
                                   100, 200, 200, nullptr, nullptr, wc.hInstance, nullptr);
    auto form = LoadForm();
    ::SetForegroundWindow(focus);
    ::SetFocus(focus);
    f7Presses = 0;
    form->HandOffCapture();
    for (int i = 0; i < 25; ++i) {
        Pump();
        ::Sleep(20);
    }
    EXPECT_EQ(f7Presses, 0);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB))
        << "the picture is on the clipboard all the same";
    ::DestroyWindow(focus);
}
