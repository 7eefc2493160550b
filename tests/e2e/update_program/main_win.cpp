// The program exactly as shipped, except for its home page: the update tests
// name a local server in QORVIC_TEST_HOME_URL. Without it there is no check.
// The shipped qorvic.exe has no such entry point and reads no environment.
#include <windows.h>

#include "frame/application_win.h"

#include <string>
#include <utility>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    qorvic::FrameWindow::Options options;
    wchar_t url[2048] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"QORVIC_TEST_HOME_URL", url, 2048);
    options.homePageUrl = n > 0 && n < 2048 ? std::wstring(url, n) : std::wstring();
    // A loopback port where nothing listens: "Yes" never starts a real browser.
    options.versionPageUrl = L"http://127.0.0.1:9/_mgxroot/page_10737.html";
    return qorvic::RunApplication(showCommand, std::move(options));
}
