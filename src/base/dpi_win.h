// The DPI a window is shown at, and system metrics for a given DPI. Both fall
// back to the screen's DPI on systems older than Windows 10 1607, where the
// per-window functions do not exist.
#pragma once

#include <windows.h>

namespace qorvic {

// The window's DPI; the screen DC's LOGPIXELSX when the system cannot tell
// (or for a null window); 96 when even that fails.
int WindowDpi(HWND window);

// GetSystemMetrics(index) as it is at `dpi`.
int SystemMetricForDpi(int index, int dpi);

// The system's non-client metrics with every length as it is at 96 DPI, whatever
// the screen's DPI: a program that scales by its window's DPI must not scale the
// system DPI's metrics once more. All zero when the system cannot tell.
NONCLIENTMETRICSW NonClientMetricsAtDesignDpi();

} // namespace qorvic
