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

} // namespace qorvic
