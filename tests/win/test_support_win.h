// Small helpers the in-process Windows tests share.
#pragma once

#include "base/handles_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace qorvic::test {

// Handles every message pending for this thread.
inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Handles messages until `done` holds; false once `ms` have passed without it.
// The machine may be slow: the default is generous and never a timing assertion.
template <typename Predicate> bool PumpUntil(Predicate done, DWORD ms = 30000) {
    const ULONGLONG deadline = ::GetTickCount64() + ms;
    while (!done()) {
        if (::GetTickCount64() > deadline)
            return false;
        Pump();
        ::Sleep(5);
    }
    return true;
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// A new, empty folder under the temporary folder, with a trailing "\". The
// name holds a space, so every path built from it exercises unquoted spaces.
inline std::wstring FreshFolder(const std::wstring& name) {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"qorvic " + name + L" " + std::to_wstring(::GetCurrentProcessId()) +
        L"_" + std::to_wstring(::GetTickCount64()) + L"_" + std::to_wstring(counter++);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

// A path the build hands over: Unix paths map to Wine's Z: drive.
inline std::wstring WidePath(const char* path) {
    std::wstring wide(path, path + std::char_traits<char>::length(path));
    if (!wide.empty() && wide[0] == L'/') {
        for (wchar_t& c : wide)
            if (c == L'/')
                c = L'\\';
        wide = L"Z:" + wide;
    }
    return wide;
}

inline LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// A left press at (x, y) of a control and its release at (upX, upY).
inline void Click(HWND control, int x, int y, int upX, int upY) {
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(x, y));
    ::SendMessageW(control, WM_LBUTTONUP, 0, ClientPoint(upX, upY));
}
inline void Click(HWND control, int x = 5, int y = 5) {
    Click(control, x, y, x, y);
}

// EnumChildWindows callback: appends the text of every static control to the
// std::wstring at `out` (what a message box says).
inline BOOL CALLBACK CollectStaticText(HWND child, LPARAM out) {
    wchar_t cls[16] = {};
    wchar_t text[512] = {};
    ::GetClassNameW(child, cls, 16);
    ::GetWindowTextW(child, text, 512);
    if (std::wstring(cls) == L"Static")
        *reinterpret_cast<std::wstring*>(out) += text;
    return TRUE;
}

// The first visible dialog box titled `title` (any when null) and owned by
// `owner` (any when null), polled for up to 30 s; null when none came.
inline HWND WaitForDialog(const wchar_t* title, HWND owner = nullptr) {
    for (int i = 0; i < 1500; ++i) {
        HWND dialog = nullptr;
        while ((dialog = ::FindWindowExW(nullptr, dialog, L"#32770", title)))
            if ((!owner || ::GetWindow(dialog, GW_OWNER) == owner) && ::IsWindowVisible(dialog))
                return dialog;
        ::Sleep(20);
    }
    return nullptr;
}

// What the screen shows at a point of `window`'s client area.
inline COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(window, &p);
    WindowDc screen(nullptr);
    return ::GetPixel(screen.get(), p.x, p.y);
}

// A picture of 32-bit pixels: what a paint function draws, or what a window shows.
class Pixels {
public:
    Pixels(int width, int height, const std::function<void(HDC)>& paint)
        : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        Bitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        MemoryDc memory(::CreateCompatibleDC(nullptr));
        if (!bitmap || !memory)
            return;
        {
            SelectedObject selected(memory.get(), bitmap.get());
            paint(memory.get());
            ::GdiFlush();
        }
        const auto* p = static_cast<const std::uint32_t*>(bits);
        data_.assign(p, p + static_cast<std::size_t>(width) * height);
    }

    // The client area of `window` as it is drawn, once every pending paint is done.
    static Pixels Of(HWND window) {
        ::UpdateWindow(::GetAncestor(window, GA_ROOT));
        Pump();
        RECT r{};
        ::GetClientRect(window, &r);
        return Pixels(r.right, r.bottom, [window, &r](HDC dc) {
            WindowDc shown(window);
            ::BitBlt(dc, 0, 0, r.right, r.bottom, shown.get(), 0, 0, SRCCOPY);
        });
    }

    int Width() const { return width_; }
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_ || data_.empty())
            return CLR_INVALID;
        const std::uint32_t v = data_[static_cast<std::size_t>(y) * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Pixels of the box within `tolerance` of `colour` on every channel.
    int CountNear(int left, int top, int right, int bottom, COLORREF colour,
                  int tolerance = 48) const {
        int n = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
            for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
                const COLORREF c = At(x, y);
                n += std::abs(GetRValue(c) - GetRValue(colour)) < tolerance &&
                     std::abs(GetGValue(c) - GetGValue(colour)) < tolerance &&
                     std::abs(GetBValue(c) - GetBValue(colour)) < tolerance;
            }
        return n;
    }
    // Dark pixels (text) in the box.
    int DarkIn(int left, int top, int right, int bottom) const {
        return CountNear(left, top, right, bottom, RGB(0, 0, 0), 67);
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> data_;
};

} // namespace qorvic::test
