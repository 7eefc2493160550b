// Scaling a captured picture to the output size.
#pragma once

#include <cstdint>

namespace qorvic {

// Scales `source` (width x height pixels, rows packed, four 8-bit channels per
// pixel, each scaled alike) into `target` (targetWidth x targetHeight, rows
// packed). Every output pixel is the area average of the source pixels it
// covers: a shrink averages everything it merges, an enlargement repeats each
// pixel and blends only the output pixels that straddle two source pixels, so
// text and edges stay sharp and whole-number enlargements are exact copies of
// every pixel. The same size gives an exact copy. Sizes below one pixel do nothing.
void Resample(const std::uint32_t* source, int width, int height, std::uint32_t* target,
              int targetWidth, int targetHeight);

} // namespace qorvic
