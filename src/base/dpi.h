// Scaling for the screen's DPI. Every pixel length in the program is designed
// at 96 DPI; on a screen with another scale it is multiplied by dpi / 96 so the
// frame, strip and menus keep their physical size. At 96 DPI nothing changes.
#pragma once

#include "base/geometry.h"

#include <cstdint>

namespace qorvic {

inline constexpr int kDesignDpi = 96;

// A usable DPI: anything not positive (a failed query) counts as 96.
int UsableDpi(int dpi);

// `length` (pixels at 96 DPI) at `dpi`, rounded to the nearest pixel with
// halves away from zero, as the system's MulDiv does, so the program's sizes
// agree with the metrics Windows scales itself.
int ScaleForDpi(int length, int dpi);

// `length` (pixels at `dpi`) as it is at 96 DPI, rounded the same way: the
// inverse of ScaleForDpi for lengths that were scaled from 96 DPI.
int LengthAtDesignDpi(int length, int dpi);

// Twips per pixel at `dpi` (1440 twips to the inch), rounded halves to even
// into 16 bits: 15 at 96 DPI, 12 at 120, 10 at 144, 8 at 192 (7.5 exactly).
std::int16_t TwipsPerPixelForDpi(int dpi);

// `box` (pixels at 96 DPI) at `dpi`: every number scaled with ScaleForDpi.
Box ScaleForDpi(const Box& box, int dpi);

} // namespace qorvic
