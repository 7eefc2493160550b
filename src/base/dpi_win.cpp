#include "base/dpi_win.h"

#include "base/dpi.h"
#include "base/handles_win.h"

namespace qorvic {

namespace {

// Looked up at run time: the program also starts on systems without them.
template <typename Function> Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(
                        reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)))
                  : nullptr;
}

int ScreenDpi() {
    WindowDc screen(nullptr);
    return UsableDpi(screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : kDesignDpi);
}

} // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (window && getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, static_cast<UINT>(UsableDpi(dpi)));
    // Without it the system's own metric is for the screen's DPI: rescale from there.
    const int screen = ScreenDpi();
    return static_cast<int>(::MulDiv(::GetSystemMetrics(index), UsableDpi(dpi), screen));
}

NONCLIENTMETRICSW NonClientMetricsAtDesignDpi() {
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi =
        User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(kDesignDpi)))
        return metrics;
    metrics = NONCLIENTMETRICSW{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return NONCLIENTMETRICSW{};
    // Older systems give the fonts at the screen's DPI: bring them back to 96.
    const int screen = ScreenDpi();
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
        font->lfHeight = LengthAtDesignDpi(font->lfHeight, screen);
    return metrics;
}

} // namespace qorvic
