// The one window base: it keeps `this` with the window, keeps the DPI the
// window is shown at, forwards every message to the derived class's
// HandleMessage, and serves erase, paint and print-client through one
// PaintClient function for windows that draw themselves.
#pragma once

#include <windows.h>

namespace qorvic {

class Window {
public:
    // How the base serves WM_ERASEBKGND, WM_PAINT and WM_PRINTCLIENT.
    enum class Painting {
        System,       // none of the three reach PaintClient; the window proc sees them
        Covering,     // PaintClient covers every pixel, so there is nothing to erase
        OffScreen,    // as Covering, drawn into a buffer copied at once (no flicker)
        OnBackground, // the class background is erased first, then PaintClient draws over it
    };

    // Everything CreateWindowEx and the class registration need; the defaults
    // are those of most of our windows.
    struct CreateArgs {
        const wchar_t* className = nullptr;
        const wchar_t* title = L"";
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        HWND parent = nullptr;
        UINT_PTR id = 0; // for child windows only
        UINT classStyle = CS_HREDRAW | CS_VREDRAW;
        HBRUSH background = nullptr;
    };

    explicit Window(Painting painting = Painting::System) : painting_(painting) {}
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

    // The DPI the window is shown at; every designed length is scaled by it / 96.
    // Set at creation (a child's from its parent, any other window's from its
    // monitor) and on WM_DPICHANGED and WM_DPICHANGED_AFTERPARENT, before
    // HandleMessage sees them, so a derived window reacting to them reads the new one.
    int Dpi() const { return dpi_; }

    // The DPI `window` is shown at: what this base keeps for a window of its
    // own, the system's answer for any other, the screen's for nullptr.
    static int DpiOf(HWND window);

    // Registers the class (once per process) and creates the window.
    bool CreateWin(const CreateArgs& args);

    // The C++ object behind a window this base created, or nullptr.
    static Window* FromHandle(HWND hwnd);

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
    // The window's whole client area; the screen, the off-screen buffer and
    // WM_PRINTCLIENT (screenshots, transparent children) all draw through it.
    virtual void PaintClient(HDC dc);
    // Called after WM_NCDESTROY; the handle is already gone.
    virtual void OnFinalDestroy() {}
    // For sizes computed before the window exists, and for a parent that
    // passes a DPI change on to its children itself.
    void SetDpi(int dpi);

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Answers the three painting messages for a self-drawing window.
    bool ServePainting(UINT msg, WPARAM wParam, LRESULT& result);
    void PaintOffScreen(HDC target);
    // A new window's DPI: a child's parent's, any other window's its monitor's.
    int InitialDpi() const;

    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    const Painting painting_;
};

} // namespace qorvic
