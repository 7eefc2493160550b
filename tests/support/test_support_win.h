// Small helpers the in-process Windows tests share.
#pragma once

#include "base/handles_win.h"
#include "base/window_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
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
    // Each folder goes, with what the tests left in it, when the test program ends.
    static struct Made {
        std::vector<std::wstring> folders;
        ~Made() {
            for (const std::wstring& folder : folders) {
                std::error_code ignored;
                std::filesystem::remove_all(folder, ignored);
            }
        }
    } made;
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"qorvic " + name + L" " + std::to_wstring(::GetCurrentProcessId()) +
        L"_" + std::to_wstring(::GetTickCount64()) + L"_" + std::to_wstring(counter++);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    made.folders.push_back(folder);
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

// A window's outer rectangle on the screen.
inline RECT OuterRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// A child's rectangle in its parent's client area.
inline RECT RectInParent(HWND child) {
    RECT r = OuterRect(child);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
inline bool Overlap(const RECT& a, const RECT& b) {
    RECT common{};
    return ::IntersectRect(&common, &a, &b) != FALSE;
}

// A plain top-level window for controls and dialogs to sit on: it paints
// `colour` through the window base; with answerPrint off it leaves painting to
// the system and shows only its class colour, kPlainFill.
class TestWindow : public Window {
public:
    static constexpr COLORREF kPlainFill = RGB(20, 40, 220);
    explicit TestWindow(COLORREF colour = RGB(30, 200, 60), bool answerPrint = true,
                        DWORD style = WS_POPUP, int width = 320, int height = 200)
        : Window(answerPrint ? Painting::OnBackground : Painting::System),
          brush_(::CreateSolidBrush(colour)) {
        static Brush plainBrush(::CreateSolidBrush(kPlainFill));
        CreateWin({.className = answerPrint ? L"QorvicTestWindow" : L"QorvicTestPlainWindow",
                   .title = L"test window",
                   .style = style | WS_VISIBLE | WS_CLIPCHILDREN,
                   .x = 30,
                   .y = 30,
                   .width = width,
                   .height = height,
                   .background = answerPrint ? nullptr : plainBrush.get()});
    }

protected:
    void PaintClient(HDC dc) override {
        RECT r;
        ::GetClientRect(hwnd(), &r);
        ::FillRect(dc, &r, brush_.get());
    }

private:
    Brush brush_;
};

// 0x00RRGGBB, as the program's pictures store a pixel.
inline std::uint32_t AsPixel(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A borderless window at (x, y) showing the picture `colourAt` gives for each
// screen point, for captures to take.
class PatternWindow : public Window {
public:
    PatternWindow(std::function<COLORREF(int x, int y)> colourAt, int x, int y, int width,
                  int height)
        : Window(Painting::Covering), colourAt_(std::move(colourAt)) {
        CreateWin({.className = L"QorvicTestPattern",
                   .title = L"pattern",
                   .style = WS_POPUP | WS_VISIBLE,
                   .x = x,
                   .y = y,
                   .width = width,
                   .height = height});
        ::UpdateWindow(hwnd());
    }

protected:
    void PaintClient(HDC dc) override {
        RECT r{};
        ::GetClientRect(hwnd(), &r);
        POINT origin{0, 0};
        ::ClientToScreen(hwnd(), &origin);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(r.right) * r.bottom);
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                pixels[static_cast<std::size_t>(y) * r.right + x] =
                    AsPixel(colourAt_(origin.x + x, origin.y + y));
            }
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        ::SetDIBitsToDevice(dc, 0, 0, r.right, r.bottom, 0, 0, 0, r.bottom, pixels.data(), &info,
                            DIB_RGB_COLORS);
    }

private:
    std::function<COLORREF(int, int)> colourAt_;
};

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
