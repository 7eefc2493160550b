// The end-to-end tests' hands on the Windows side: finds windows, reads their
// rectangles, closes them, reads the clipboard and puts up a
// pattern window to capture or a window of another program to click on. Console
// program; every command prints one line and exits 0 on success.
#include <windows.h>

#include "base/handles_win.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

// A visible top-level window whose title (or, `byClass`, class name) is `name`,
// polled every 20 ms until it is there (`present`) or gone (!present), or the
// deadline passes.
struct Search {
    const wchar_t* name;
    bool byClass;
    HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t text[512] = {};
    if (search->byClass)
        ::GetClassNameW(hwnd, text, 512);
    else
        ::GetWindowTextW(hwnd, text, 512);
    if (::IsWindowVisible(hwnd) && std::wcscmp(text, search->name) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitFor(const wchar_t* name, bool byClass, bool present, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        Search search{name, byClass, nullptr};
        ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
        if ((search.found != nullptr) == present || ::GetTickCount64() >= deadline)
            return search.found;
        ::Sleep(20);
    }
}

HWND WaitForWindow(const wchar_t* title, DWORD timeoutMs) {
    return WaitFor(title, false, true, timeoutMs);
}

int NoWindow() {
    std::printf("no window\n");
    return 1;
}

// "outer X Y W H", with `full` followed by "client X Y W H topmost T layered L".
int Rect(HWND hwnd, bool full) {
    if (!hwnd)
        return NoWindow();
    RECT outer{}, client{};
    ::GetWindowRect(hwnd, &outer);
    std::printf("outer %ld %ld %ld %ld", outer.left, outer.top, outer.right - outer.left,
                outer.bottom - outer.top);
    if (full) {
        ::GetClientRect(hwnd, &client);
        POINT origin{0, 0};
        ::ClientToScreen(hwnd, &origin);
        const LONG_PTR ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
        std::printf(" client %ld %ld %ld %ld topmost %d layered %d", origin.x, origin.y,
                    client.right, client.bottom, (ex & WS_EX_TOPMOST) ? 1 : 0,
                    (ex & WS_EX_LAYERED) ? 1 : 0);
    }
    std::printf("\n");
    return 0;
}

// One line per child window (with `visibleOnly`, per visible one): its text, in UTF-8.
BOOL CALLBACK PrintChild(HWND child, LPARAM visibleOnly) {
    if (visibleOnly && !::IsWindowVisible(child))
        return TRUE;
    wchar_t text[512] = {};
    ::GetWindowTextW(child, text, 512);
    char utf8[2048] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
    return TRUE;
}

int Children(HWND hwnd, bool visibleOnly) {
    if (!hwnd)
        return 1;
    ::EnumChildWindows(hwnd, &PrintChild, visibleOnly);
    return 0;
}

int Close(const wchar_t* title) {
    HWND hwnd = WaitForWindow(title, 5000);
    if (!hwnd)
        return NoWindow();
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    qorvic::KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    const DWORD waited = process ? ::WaitForSingleObject(process.get(), 10000) : WAIT_FAILED;
    std::printf(waited == WAIT_OBJECT_0 ? "closed\n" : "still running\n");
    return waited == WAIT_OBJECT_0 ? 0 : 1;
}

int ClassGone(const wchar_t* className, DWORD timeoutMs) {
    const bool gone = WaitFor(className, true, false, timeoutMs) == nullptr;
    std::printf(gone ? "gone\n" : "present\n");
    return gone ? 0 : 1;
}

// Milliseconds since 1970 on the wall clock, comparable with the shell's `date +%s%3N`.
long long UnixMilliseconds() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return static_cast<long long>((ticks - 116444736000000000ULL) / 10000ULL);
}

// Says "watching", then waits for the window of the class to go and prints
// when it went, so a test can time what it does meanwhile.
int ClassGoneAt(const wchar_t* className, DWORD timeoutMs) {
    if (!WaitFor(className, true, true, 0)) {
        std::printf("not there\n");
        return 1;
    }
    std::printf("watching\n");
    const bool gone = WaitFor(className, true, false, timeoutMs) == nullptr;
    if (!gone) {
        std::printf("present\n");
        return 1;
    }
    std::printf("gone %lld\n", UnixMilliseconds());
    return 0;
}

// Moves the window titled `title` (of any process) to x, y, size unchanged.
int Move(const wchar_t* title, int x, int y) {
    HWND hwnd = WaitForWindow(title, 10000);
    if (!hwnd ||
        !::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        return NoWindow();
    std::printf("moved\n");
    return 0;
}

// "visible" when the window titled `title` has a visible child of the class.
int ChildVisible(const wchar_t* title, const wchar_t* className) {
    HWND hwnd = WaitForWindow(title, 10000);
    HWND child = hwnd ? ::FindWindowExW(hwnd, nullptr, className, nullptr) : nullptr;
    const bool visible = child && ::IsWindowVisible(child);
    std::printf(visible ? "visible\n" : "hidden\n");
    return 0;
}

// "dib W H" for the bitmap on the clipboard, "none" without one.
int Clipboard() {
    if (!::OpenClipboard(nullptr)) {
        std::printf("busy\n");
        return 1;
    }
    HANDLE data = ::GetClipboardData(CF_DIB);
    const auto* header = data ? static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data)) : nullptr;
    if (header) {
        std::printf("dib %ld %ld\n", header->biWidth, std::labs(header->biHeight));
        ::GlobalUnlock(data);
    } else {
        std::printf("none\n");
    }
    ::CloseClipboard();
    return 0;
}

int ClearClipboard() {
    if (!::OpenClipboard(nullptr))
        return 1;
    ::EmptyClipboard();
    ::CloseClipboard();
    std::printf("cleared\n");
    return 0;
}

// Vertical stripes of 8 pixels in four colours, and counts of clicks, so a
// test can see the pattern through the frame and that clicks reach it.
LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    static const COLORREF stripes[4] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255),
                                        RGB(0, 128, 0)};
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        RECT client;
        ::GetClientRect(hwnd, &client);
        for (int x = 0; x < client.right; x += 8) {
            RECT band{x, 0, x + 8, client.bottom};
            qorvic::Brush brush(::CreateSolidBrush(stripes[(x / 8) % 4]));
            ::FillRect(dc, &band, brush.get());
        }
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        std::printf("click %d %d\n", static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
        std::fflush(stdout);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, w, l);
}

// A grey window that, like the many programs that watch for a drag, asks for
// the buttons' key state whenever one goes down on it. That takes Windows'
// "pressed since the last call" report away from every other program.
LRESULT CALLBACK KeyReaderProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ::GetAsyncKeyState(VK_LBUTTON);
        ::GetAsyncKeyState(VK_RBUTTON);
        std::printf("press read\n");
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, w, l);
}

// Shows a window of the class until it is closed; says "<title> up" once it is there.
int ShowUntilClosed(WNDPROC proc, const wchar_t* className, const wchar_t* title, int x, int y,
                    int width, int height) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // The pattern paints every pixel itself; the key reader is plain grey.
    wc.hbrBackground = proc == PatternProc ? nullptr : ::GetSysColorBrush(COLOR_BTNSHADOW);
    wc.lpszClassName = className;
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE, x, y, width,
                                  height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 1;
    std::printf("%ls up\n", title);
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"rect" && argc > 2)
        return Rect(WaitForWindow(argv[2], 10000), true);
    if (command == L"wait" && argc > 2) {
        const DWORD timeout =
            argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 10000;
        const bool found = WaitForWindow(argv[2], timeout) != nullptr;
        std::printf(found ? "found\n" : "timeout\n");
        return found ? 0 : 1;
    }
    if (command == L"gone" && argc > 2) {
        const bool present = WaitForWindow(argv[2], 0) != nullptr;
        std::printf(present ? "present\n" : "gone\n");
        return present ? 1 : 0;
    }
    if (command == L"enabled" && argc > 2) {
        HWND hwnd = WaitForWindow(argv[2], 10000);
        std::printf(!hwnd ? "no window\n" : ::IsWindowEnabled(hwnd) ? "enabled\n" : "disabled\n");
        return hwnd ? 0 : 1;
    }
    if (command == L"children" && argc > 2)
        return Children(WaitForWindow(argv[2], 10000), false);
    if (command == L"close" && argc > 2)
        return Close(argv[2]);
    const DWORD wait = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 10000;
    if (command == L"class-rect" && argc > 2)
        return Rect(WaitFor(argv[2], true, true, wait), false);
    if (command == L"class-gone" && argc > 2)
        return ClassGone(argv[2], wait);
    if (command == L"class-gone-at" && argc > 2)
        return ClassGoneAt(argv[2], wait);
    if (command == L"class-children" && argc > 2)
        return Children(WaitFor(argv[2], true, true, 10000), true);
    if (command == L"child-visible" && argc > 3)
        return ChildVisible(argv[2], argv[3]);
    if (command == L"move" && argc > 4)
        return Move(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
    if (command == L"clipboard")
        return Clipboard();
    if (command == L"clear-clipboard")
        return ClearClipboard();
    if ((command == L"pattern" || command == L"key-reader") && argc > 5) {
        const bool pattern = command == L"pattern";
        return ShowUntilClosed(pattern ? PatternProc : KeyReaderProc,
                               pattern ? L"QorvicTestPattern" : L"QorvicTestKeyReader",
                               pattern ? L"Test pattern" : L"Key reader", _wtoi(argv[2]),
                               _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]));
    }
    std::printf("usage: driver rect|wait|gone|close|enabled|children TITLE | pattern X Y W H |"
                " class-rect|class-gone CLASS [MS] | class-gone-at CLASS [MS] | class-children"
                " CLASS | child-visible TITLE CLASS | key-reader X Y W H |"
                " clipboard | clear-clipboard\n");
    return 2;
}
