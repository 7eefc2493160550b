// The one window base: it keeps `this` with the window and forwards every
// message to the derived class's HandleMessage.
#pragma once

#include <windows.h>

namespace qorvic {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

    // Registers `className` (once per process) and creates the window.
    bool CreateWin(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                   int x, int y, int width, int height, HWND parent, UINT_PTR id = 0,
                   UINT classStyle = CS_HREDRAW | CS_VREDRAW, HBRUSH background = nullptr);

    // The C++ object behind a window this base created, or nullptr.
    static Window* FromHandle(HWND hwnd);

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
    // Called after WM_NCDESTROY; the handle is already gone.
    virtual void OnFinalDestroy() {}

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

} // namespace qorvic
