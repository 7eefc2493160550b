// Which screen pixels a capture copies and how large the output picture is.
#pragma once

#include "base/dpi.h"
#include "base/geometry.h"

#include <cstdint>
#include <vector>

namespace qorvic {

// Frame mode: the see-through area less its border (2 pixels at 96 DPI, scaled
// with `dpi`, always wider than the frame's outline) on every side, as client coordinates; the
// caller converts the origin to the screen.
Box FrameCaptureArea(const Box& seeThroughArea, int dpi = kDesignDpi);

// Whole-screen mode: the whole virtual screen from its own origin, which lies
// left of or above (0, 0) when a monitor stands there.
Box WholeScreenArea(int virtualLeft, int virtualTop, int virtualWidth, int virtualHeight);

// The virtual screen as the system reports it: the smallest rectangle around
// every monitor, in physical pixels of the primary monitor's coordinates. Each
// monitor is given at its own scale, so mixed-DPI layouts leave gaps the
// rectangle still spans. No monitors give an empty rectangle at (0, 0).
Box VirtualScreenOf(const std::vector<Box>& monitors);

// The output picture: the capture scaled by scaleStep / 10, whole pixels
// (halves to even), never less than one pixel for a non-empty capture.
Size ScaledSize(int width, int height, std::int16_t scaleStep);

} // namespace qorvic
