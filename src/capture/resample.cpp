#include "capture/resample.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace qorvic {

namespace {

// Weights are fractions of kOne; 14 bits keep 255 * kOne and every sum of
// weighted channels far inside 32 bits.
constexpr int kShift = 14;
constexpr std::uint32_t kOne = 1u << kShift;

// The source pixels one output pixel covers along an axis.
struct Tap {
    int first;
    int count;
    std::size_t weights; // index of the first weight
};

struct Axis {
    std::vector<Tap> taps;
    std::vector<std::uint32_t> weights;
    int widest = 1;
};

// On a line `source * target` units long, source pixel k spans [k * target,
// (k + 1) * target) and output pixel i spans [i * source, (i + 1) * source).
// Weights are differences of the rounded running coverage, so each output's
// weights add up to exactly kOne and flat areas stay exact.
Axis Coverage(int source, int target) {
    Axis axis;
    axis.taps.reserve(static_cast<std::size_t>(target));
    for (int i = 0; i < target; ++i) {
        const std::int64_t begin = std::int64_t{i} * source, end = begin + source;
        const int first = static_cast<int>(begin / target);
        const int last = static_cast<int>((end - 1) / target);
        axis.taps.push_back({first, last - first + 1, axis.weights.size()});
        axis.widest = std::max(axis.widest, last - first + 1);
        std::uint32_t before = 0;
        for (int k = first; k <= last; ++k) {
            const std::int64_t covered = std::min(end, std::int64_t{k + 1} * target) - begin;
            const auto upTo =
                static_cast<std::uint32_t>((covered * kOne * 2 + source) / (2 * source));
            axis.weights.push_back(upTo - before);
            before = upTo;
        }
    }
    return axis;
}

// Two channels of a pixel, 32 bits apart, so one 64-bit multiply weighs both.
inline std::uint64_t Spread(std::uint32_t twoChannels) {
    const std::uint64_t x = twoChannels & 0x00FF00FFu;
    return (x | x << 16) & 0x000000FF000000FFull;
}

inline std::uint32_t Gather(std::uint64_t sums) {
    sums += (std::uint64_t{kOne / 2} << 32) | (kOne / 2);
    return static_cast<std::uint32_t>((sums >> kShift) & 0xFF) |
           static_cast<std::uint32_t>((sums >> (32 + kShift)) & 0xFF) << 16;
}

void ScaleRow(const std::uint32_t* source, const Axis& axis, std::uint32_t* out) {
    const std::size_t width = axis.taps.size();
    for (std::size_t i = 0; i < width; ++i) {
        const Tap& tap = axis.taps[i];
        const std::uint32_t* pixel = source + tap.first;
        if (tap.count == 1) {
            out[i] = *pixel;
            continue;
        }
        const std::uint32_t* weight = axis.weights.data() + tap.weights;
        std::uint64_t blueRed = 0, greenAlpha = 0;
        for (int k = 0; k < tap.count; ++k) {
            blueRed += Spread(pixel[k]) * weight[k];
            greenAlpha += Spread(pixel[k] >> 8) * weight[k];
        }
        out[i] = Gather(blueRed) | Gather(greenAlpha) << 8;
    }
}

// Byte by byte over whole rows, a loop the compiler vectorises.
void BlendRows(const std::uint32_t* const* rows, const std::uint32_t* weight, int count,
               std::size_t pixels, std::vector<std::uint32_t>& sums, std::uint32_t* out) {
    const std::size_t bytes = pixels * 4;
    std::uint32_t* sum = sums.data();
    const auto* first = reinterpret_cast<const unsigned char*>(rows[0]);
    for (std::size_t b = 0; b < bytes; ++b)
        sum[b] = first[b] * weight[0] + kOne / 2;
    for (int k = 1; k < count; ++k) {
        const auto* row = reinterpret_cast<const unsigned char*>(rows[k]);
        const std::uint32_t w = weight[k];
        for (std::size_t b = 0; b < bytes; ++b)
            sum[b] += row[b] * w;
    }
    auto* dest = reinterpret_cast<unsigned char*>(out);
    for (std::size_t b = 0; b < bytes; ++b)
        dest[b] = static_cast<unsigned char>(sum[b] >> kShift);
}

} // namespace

void Resample(const std::uint32_t* source, int width, int height, std::uint32_t* target,
              int targetWidth, int targetHeight) {
    if (width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return;
    const auto rowPixels = static_cast<std::size_t>(targetWidth);
    if (width == targetWidth && height == targetHeight) {
        std::memcpy(target, source, rowPixels * 4 * static_cast<std::size_t>(height));
        return;
    }
    const Axis across = Coverage(width, targetWidth);
    const Axis down = Coverage(height, targetHeight);
    std::vector<const std::uint32_t*> rows(static_cast<std::size_t>(down.widest));
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(std::max(width, targetWidth)) * 4);
    const auto sourceRow = [&](int j) { return source + static_cast<std::size_t>(j) * width; };

    if (targetHeight < height) {
        // Shrinking down: merge source rows first (the cheap, vectorised pass),
        // so the pass across runs once per output row, not once per source row.
        std::vector<std::uint32_t> merged(static_cast<std::size_t>(width));
        for (int y = 0; y < targetHeight; ++y) {
            const Tap& tap = down.taps[static_cast<std::size_t>(y)];
            const std::uint32_t* line = sourceRow(tap.first);
            if (tap.count > 1) {
                for (int k = 0; k < tap.count; ++k)
                    rows[static_cast<std::size_t>(k)] = sourceRow(tap.first + k);
                BlendRows(rows.data(), down.weights.data() + tap.weights, tap.count,
                          static_cast<std::size_t>(width), sums, merged.data());
                line = merged.data();
            }
            ScaleRow(line, across, target + static_cast<std::size_t>(y) * rowPixels);
        }
        return;
    }

    // Otherwise source rows are scaled across first and kept while the output
    // rows still need them: source row j lives in slot j % slots, and no
    // output row spans more rows.
    const auto slots = static_cast<std::size_t>(down.widest);
    std::vector<std::uint32_t> scaled(slots * rowPixels);
    std::vector<int> held(slots, -1);
    for (int y = 0; y < targetHeight; ++y) {
        const Tap& tap = down.taps[static_cast<std::size_t>(y)];
        for (int k = 0; k < tap.count; ++k) {
            const int j = tap.first + k;
            const std::size_t slot = static_cast<std::size_t>(j) % slots;
            std::uint32_t* row = scaled.data() + slot * rowPixels;
            if (held[slot] != j) {
                ScaleRow(sourceRow(j), across, row);
                held[slot] = j;
            }
            rows[static_cast<std::size_t>(k)] = row;
        }
        std::uint32_t* out = target + static_cast<std::size_t>(y) * rowPixels;
        if (tap.count == 1)
            std::memcpy(out, rows[0], rowPixels * 4);
        else
            BlendRows(rows.data(), down.weights.data() + tap.weights, tap.count, rowPixels, sums,
                      out);
    }
}

} // namespace qorvic
