// The reversible 5/3 wavelet of JPEG 2000 (integer lifting, symmetric extension),
// for a picture whose origin is 0, so every line starts at an even index.
#pragma once

#include <cstddef>
#include <cstdint>

namespace conv {

// Transforms one line of n samples in place: the ceil(n/2) low-pass samples end up
// first, the floor(n/2) high-pass ones after them. `scratch` holds n samples.
void ForwardLift53(std::int32_t* line, int n, std::int32_t* scratch);

// Size of the low-pass part of a line of n samples.
inline int LowCount(int n) {
    return (n + 1) / 2;
}

// Applies `levels` decomposition levels to a width x height plane (row stride
// `stride` samples) in place, each level columns first, then rows, as the decoder
// undoes it in the opposite order. Afterwards the subbands lie in the usual nested
// layout: LL in the top-left corner, then HL (right), LH (below), HH (diagonal).
void ForwardDwt53(std::int32_t* plane, int width, int height, std::ptrdiff_t stride, int levels,
                  int threads);

} // namespace conv
