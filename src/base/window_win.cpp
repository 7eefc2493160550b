#include "base/window_win.h"

#include "base/wait_cursor_win.h"
#include "res/resource_ids.h"

namespace qorvic {

Window::~Window() {
    if (hwnd_) {
        // Detach first so no message reaches a half-destroyed object.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool Window::CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                       int x, int y, int width, int height, HWND parent, UINT_PTR id,
                       UINT classStyle, HBRUSH background) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, className, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.style = classStyle;
        wc.lpfnWndProc = &Window::StaticProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QORVIC));
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        if (!::RegisterClassExW(&wc))
            return false;
    }
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(id) : nullptr;
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                             menuOrId, instance, this) != nullptr;
}

Window* Window::FromHandle(HWND hwnd) {
    // Only windows of the classes this base registered carry a Window: a dialog
    // or message box on the same thread may keep anything in its user data.
    if (!hwnd ||
        ::GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::StaticProc))
        return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    Window* self = FromHandle(hwnd);
    if (!self)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT && WaitCursorScope::Active()) {
        // The class cursor would replace the wait cursor at the first move.
        ::SetCursor(WaitCursorScope::Cursor());
        return TRUE;
    }
    const LRESULT result = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

} // namespace qorvic
