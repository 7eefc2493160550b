#include "base/window_win.h"

#include "base/dpi.h"
#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "base/wait_cursor_win.h"
#include "res/resource_ids.h"

#include <algorithm>

namespace qorvic {

Window::~Window() {
    if (hwnd_) {
        // Detach first so no message reaches a half-destroyed object.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool Window::CreateWin(const CreateArgs& args) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, args.className, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.style = args.classStyle;
        wc.lpfnWndProc = &Window::StaticProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QORVIC));
        wc.hbrBackground = args.background;
        wc.lpszClassName = args.className;
        if (!::RegisterClassExW(&wc))
            return false;
    }
    HMENU menuOrId = (args.style & WS_CHILD) ? reinterpret_cast<HMENU>(args.id) : nullptr;
    return ::CreateWindowExW(args.exStyle, args.className, args.title, args.style, args.x, args.y,
                             args.width, args.height, args.parent, menuOrId, instance,
                             this) != nullptr;
}

Window* Window::FromHandle(HWND hwnd) {
    // Only windows of the classes this base registered carry a Window: a dialog
    // or message box on the same thread may keep anything in its user data.
    if (!hwnd ||
        ::GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::StaticProc))
        return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

int Window::DpiOf(HWND window) {
    if (const Window* own = FromHandle(window))
        return own->Dpi();
    return WindowDpi(window);
}

void Window::SetDpi(int dpi) {
    dpi_ = UsableDpi(dpi);
}

int Window::InitialDpi() const {
    const HWND parent = ::GetAncestor(hwnd_, GA_PARENT);
    if ((::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) && parent)
        return DpiOf(parent);
    return WindowDpi(hwnd_);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

void Window::PaintClient(HDC) {}

bool Window::ServePainting(UINT msg, WPARAM wParam, LRESULT& result) {
    if (painting_ == Painting::System)
        return false;
    switch (msg) {
    case WM_ERASEBKGND:
        if (painting_ == Painting::OnBackground)
            return false;
        result = 1; // the paint covers every pixel
        return true;
    case WM_PAINT: {
        PaintScope paint(hwnd_);
        if (painting_ == Painting::OffScreen)
            PaintOffScreen(paint.dc());
        else
            PaintClient(paint.dc());
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        PaintClient(reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    default:
        return false;
    }
}

void Window::PaintOffScreen(HDC target) {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    MemoryDc memory(::CreateCompatibleDC(target));
    Bitmap buffer(::CreateCompatibleBitmap(target, std::max<LONG>(client.right, 1),
                                           std::max<LONG>(client.bottom, 1)));
    if (!memory || !buffer) {
        PaintClient(target); // flickers, but shows the same
        return;
    }
    SelectedObject selected(memory.get(), buffer.get());
    PaintClient(memory.get());
    ::BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->SetDpi(self->InitialDpi());
    }
    Window* self = FromHandle(hwnd);
    if (!self)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT && WaitCursorScope::Active()) {
        // The class cursor would replace the wait cursor at the first move.
        ::SetCursor(WaitCursorScope::Cursor());
        return TRUE;
    }
    if (msg == WM_DPICHANGED)
        self->SetDpi(LOWORD(wParam)); // the same on both axes
    else if (msg == WM_DPICHANGED_AFTERPARENT)
        self->SetDpi(WindowDpi(hwnd));
    LRESULT result = 0;
    if (!self->ServePainting(msg, wParam, result))
        result = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

} // namespace qorvic
