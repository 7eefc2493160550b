// Lossless JPEG 2000 (.jp2) encoding of an RGB picture: reversible colour
// transform, reversible 5/3 wavelet, 64 x 64 code-blocks coded in parallel, one
// quality layer in layer-resolution-component-position order.
#pragma once

#include "image.h"

#include <cstdint>
#include <vector>

namespace conv {

// Wavelet levels used for a picture: 5, fewer when the shorter side is under 32.
int Jp2DecompositionLevels(int width, int height);

// Wall seconds of the encoder's stages, for profiling.
struct Jp2StageTimes {
    double colours = 0; // level shift and colour transform
    double wavelet = 0; // the three planes' 5/3 transforms
    double blocks = 0;  // code-block coding, in parallel
    double packets = 0; // packet headers, codestream and boxes, serial
};

// Encodes `image` as a complete .jp2 file. `threads` is the number of threads to
// code with; 0 uses one per core. When `times` is given it receives how long
// each stage took. Throws std::invalid_argument when the picture is empty or its
// pixel buffer does not match its size.
std::vector<std::uint8_t> EncodeJp2(const Image& image, int threads = 0,
                                    Jp2StageTimes* times = nullptr);
// The same from rows (a bitmap's, read in place); throws when they are empty.
std::vector<std::uint8_t> EncodeJp2Rows(const PixelRows& image, int threads = 0,
                                        Jp2StageTimes* times = nullptr);

} // namespace conv
