#include "jp2_dwt.h"

#include "jp2_parallel.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace conv {

namespace {

// Columns are lifted in strips this wide: each row of a strip is one contiguous run
// that the compiler vectorises, and a strip of a tall picture stays in cache.
constexpr int kStripWidth = 32;
constexpr int kRowsPerItem = 16;

void LiftColumnStrip(std::int32_t* plane, int height, std::ptrdiff_t stride, int x0, int width,
                     std::int32_t* tmp) {
    for (int y = 0; y < height; ++y) {
        std::memcpy(tmp + static_cast<std::ptrdiff_t>(y) * width, plane + y * stride + x0,
                    sizeof(std::int32_t) * width);
    }
    const int nl = LowCount(height);
    const int nh = height / 2;
    auto tmpRow = [&](int y) { return tmp + static_cast<std::ptrdiff_t>(y) * width; };
    auto outRow = [&](int y) { return plane + y * stride + x0; };
    for (int i = 0; i < nh; ++i) {
        const std::int32_t* left = tmpRow(2 * i);
        const std::int32_t* mid = tmpRow(2 * i + 1);
        const std::int32_t* right = tmpRow(2 * i + 2 < height ? 2 * i + 2 : 2 * i);
        std::int32_t* out = outRow(nl + i);
        for (int j = 0; j < width; ++j) {
            out[j] = mid[j] - ((left[j] + right[j]) >> 1);
        }
    }
    for (int i = 0; i < nl; ++i) {
        const std::int32_t* even = tmpRow(2 * i);
        const std::int32_t* dl = outRow(nl + (i > 0 ? i - 1 : 0));
        const std::int32_t* dr = outRow(nl + (i < nh ? i : nh - 1));
        std::int32_t* out = outRow(i);
        for (int j = 0; j < width; ++j) {
            out[j] = even[j] + ((dl[j] + dr[j] + 2) >> 2);
        }
    }
}

} // namespace

void ForwardLift53(std::int32_t* line, int n, std::int32_t* scratch) {
    if (n < 2) {
        return; // a single sample at an even index passes through unchanged
    }
    std::memcpy(scratch, line, sizeof(std::int32_t) * n);
    const int nl = LowCount(n);
    const int nh = n / 2;
    std::int32_t* d = line + nl;
    const std::int32_t* x = scratch;
    // Interior samples first, in loops without boundary tests so they vectorise;
    // the mirrored ends after.
    const int inner = (n - 1) / 2; // high-pass samples with a right neighbour
    for (int i = 0; i < inner; ++i) {
        d[i] = x[2 * i + 1] - ((x[2 * i] + x[2 * i + 2]) >> 1);
    }
    if (inner < nh) {
        d[nh - 1] = x[n - 1] - x[n - 2]; // even n: the right neighbour mirrors to n - 2
    }
    line[0] = x[0] + ((2 * d[0] + 2) >> 2);
    const int last = n % 2 ? nl - 1 : nl; // odd n: the last low-pass sample mirrors
    for (int i = 1; i < last; ++i) {
        line[i] = x[2 * i] + ((d[i - 1] + d[i] + 2) >> 2);
    }
    if (last < nl && nl > 1) {
        line[nl - 1] = x[n - 1] + ((2 * d[nh - 1] + 2) >> 2);
    }
}

void ForwardDwt53(std::int32_t* plane, int width, int height, std::ptrdiff_t stride, int levels,
                  int threads) {
    int w = width;
    int h = height;
    // One scratch buffer per worker, sized for the first (largest) level and kept
    // for all: a column strip of a tall picture takes hundreds of kilobytes, which
    // fresh allocations would map and fault in again for every work item.
    threads = ResolveThreadCount(threads);
    std::vector<std::vector<std::int32_t>> scratch(
        threads, std::vector<std::int32_t>(std::max(static_cast<std::size_t>(h) * kStripWidth,
                                                    static_cast<std::size_t>(w))));
    for (int level = 0; level < levels && (w > 1 || h > 1); ++level) {
        if (h > 1) {
            const int strips = (w + kStripWidth - 1) / kStripWidth;
            const int stripsPerItem = std::max(1, strips / (4 * threads));
            const int items = (strips + stripsPerItem - 1) / stripsPerItem;
            ParallelFor(items, threads, [&](int item, int worker) {
                const int first = item * stripsPerItem;
                const int last = std::min(strips, first + stripsPerItem);
                for (int s = first; s < last; ++s) {
                    const int x0 = s * kStripWidth;
                    LiftColumnStrip(plane, h, stride, x0, std::min(kStripWidth, w - x0),
                                    scratch[worker].data());
                }
            });
        }
        if (w > 1) {
            const int items = (h + kRowsPerItem - 1) / kRowsPerItem;
            ParallelFor(items, threads, [&](int item, int worker) {
                const int last = std::min(h, (item + 1) * kRowsPerItem);
                for (int y = item * kRowsPerItem; y < last; ++y) {
                    ForwardLift53(plane + y * stride, w, scratch[worker].data());
                }
            });
        }
        w = LowCount(w);
        h = LowCount(h);
    }
}

} // namespace conv
