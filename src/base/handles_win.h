// Owners for every Win32 handle the program creates, so an early return never leaks.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace qorvic {

struct GdiObjectDeleter {
    void operator()(void* object) const { ::DeleteObject(static_cast<HGDIOBJ>(object)); }
};

// A GDI object (HBITMAP, HBRUSH, HPEN, HFONT, HRGN) deleted when it goes out of scope.
template <typename T> using GdiObject = std::unique_ptr<std::remove_pointer_t<T>, GdiObjectDeleter>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};
// A DC from CreateCompatibleDC / CreateDC.
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

struct KernelHandleDeleter {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
};
// A kernel handle: process, thread, event, file.
using KernelHandle = std::unique_ptr<void, KernelHandleDeleter>;

struct MappedViewDeleter {
    void operator()(const void* view) const { ::UnmapViewOfFile(view); }
};
// A view from MapViewOfFile.
using MappedView = std::unique_ptr<const void, MappedViewDeleter>;

struct WindowsHookDeleter {
    void operator()(HHOOK hook) const { ::UnhookWindowsHookEx(hook); }
};
// A hook set with SetWindowsHookEx, removed on scope exit.
using WindowsHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, WindowsHookDeleter>;

struct CoTaskMemDeleter {
    void operator()(void* p) const { ::CoTaskMemFree(p); }
};
// Memory the shell hands out (item-identifier lists).
template <typename T> using CoTaskMem = std::unique_ptr<T, CoTaskMemDeleter>;

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
// One reference to a COM object, released on scope exit.
template <typename T> using ComRef = std::unique_ptr<T, ComReleaser>;

// A DC borrowed from a window (GetDC / GetWindowDC), given back on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and restores the previous one on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_ && old_ != HGDI_ERROR)
            ::SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    bool ok() const { return old_ && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
    ~PaintScope() { ::EndPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const PAINTSTRUCT& info() const { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// The clipboard, open for the lifetime of the object. Another program may hold
// it for a moment (clipboard managers, and Wine's bridge to the X selection,
// open it right after every change), so opening keeps trying for `patience`.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner, DWORD patienceMs = 0) : open_(Open(owner, patienceMs)) {}
    ~ClipboardScope() {
        if (open_)
            ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool ok() const { return open_; }

private:
    static bool Open(HWND owner, DWORD patienceMs) {
        const ULONGLONG deadline = ::GetTickCount64() + patienceMs;
        while (!::OpenClipboard(owner)) {
            if (::GetTickCount64() >= deadline)
                return false;
            ::Sleep(10);
        }
        return true;
    }

    bool open_;
};

// A global memory block (clipboard data) locked for access, unlocked on scope exit.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory)
        : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
    ~GlobalLockScope() {
        if (data_)
            ::GlobalUnlock(memory_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    const void* data() const { return data_; }
    SIZE_T size() const { return data_ ? ::GlobalSize(memory_) : 0; }

private:
    HGLOBAL memory_;
    void* data_;
};

} // namespace qorvic
