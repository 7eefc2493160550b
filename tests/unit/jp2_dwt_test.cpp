#include "jp2_dwt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace conv;

namespace {

// The inverse reversible 5/3 transform written from its definition (undo the
// low-pass update, then the high-pass prediction, symmetric extension at both
// ends), deliberately without sharing anything with the forward code.
std::vector<std::int32_t> InverseLine(const std::vector<std::int32_t>& coded) {
    const int n = static_cast<int>(coded.size());
    if (n < 2) {
        return coded;
    }
    const int nl = (n + 1) / 2;
    std::vector<std::int32_t> x(n);
    // High-pass sample i sits at odd position 2i+1 of the interleaved line, which
    // extends symmetrically: position -p mirrors p, position n-1+p mirrors n-1-p.
    auto high = [&](int i) {
        int pos = 2 * i + 1;
        if (pos < 0) {
            pos = -pos;
        }
        if (pos >= n) {
            pos = 2 * (n - 1) - pos;
        }
        return coded[nl + (pos - 1) / 2];
    };
    for (int i = 0; i < nl; ++i) {
        x[2 * i] =
            coded[i] - static_cast<std::int32_t>(std::floor((high(i - 1) + high(i) + 2) / 4.0));
    }
    for (int i = 0; 2 * i + 1 < n; ++i) {
        const std::int32_t right = 2 * i + 2 < n ? x[2 * i + 2] : x[2 * i];
        x[2 * i + 1] =
            coded[nl + i] + static_cast<std::int32_t>(std::floor((x[2 * i] + right) / 2.0));
    }
    return x;
}

std::vector<std::int32_t> RandomLine(std::mt19937& rng, int n, int range) {
    std::vector<std::int32_t> v(n);
    for (auto& s : v) {
        s = std::uniform_int_distribution<int>(-range, range)(rng);
    }
    return v;
}

} // namespace

TEST(Dwt53, LinesOfEveryLengthRoundTrip) {
    std::mt19937 rng(3);
    for (int n = 1; n <= 41; ++n) {
        for (int trial = 0; trial < 20; ++trial) {
            const std::vector<std::int32_t> original = RandomLine(rng, n, 300);
            std::vector<std::int32_t> line = original;
            std::vector<std::int32_t> scratch(n);
            ForwardLift53(line.data(), n, scratch.data());
            ASSERT_EQ(InverseLine(line), original) << "length " << n << ", trial " << trial;
        }
    }
}

TEST(Dwt53, ConstantAndRampLinesHaveNoDetail) {
    for (int n : {2, 3, 8, 9, 64, 65}) {
        std::vector<std::int32_t> line(n, -37);
        std::vector<std::int32_t> scratch(n);
        ForwardLift53(line.data(), n, scratch.data());
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(line[i], i < LowCount(n) ? -37 : 0) << "n " << n << " at " << i;
        }
        // A linear ramp is predicted exactly inside the line; only the mirrored
        // end of an even-length line can leave a detail sample.
        for (int i = 0; i < n; ++i) {
            line[i] = 5 * i;
        }
        ForwardLift53(line.data(), n, scratch.data());
        for (int i = LowCount(n); i < n - 1; ++i) {
            EXPECT_EQ(line[i], 0) << "n " << n << " at " << i;
        }
    }
}

TEST(Dwt53, PlanesOfOddSizesRoundTripOnAnyThreadCount) {
    std::mt19937 rng(11);
    const int sizes[][2] = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {3, 5}, {17, 4}, {65, 33}, {100, 77}};
    for (const auto& size : sizes) {
        const int w = size[0];
        const int h = size[1];
        for (int levels = 0; levels <= 5; ++levels) {
            const std::vector<std::int32_t> original = RandomLine(rng, w * h, 255);
            std::vector<std::int32_t> plane = original;
            ForwardDwt53(plane.data(), w, h, w, levels, 1 + levels % 3);

            // Undo the levels from the coarsest: rows first, then columns.
            std::vector<int> ws{w};
            std::vector<int> hs{h};
            for (int l = 0; l < levels; ++l) {
                ws.push_back(LowCount(ws.back()));
                hs.push_back(LowCount(hs.back()));
            }
            for (int l = levels - 1; l >= 0; --l) {
                const int lw = ws[l];
                const int lh = hs[l];
                for (int y = 0; y < lh; ++y) {
                    std::vector<std::int32_t> row(plane.begin() + y * w,
                                                  plane.begin() + y * w + lw);
                    row = InverseLine(row);
                    std::copy(row.begin(), row.end(), plane.begin() + y * w);
                }
                for (int x = 0; x < lw; ++x) {
                    std::vector<std::int32_t> column(lh);
                    for (int y = 0; y < lh; ++y) {
                        column[y] = plane[y * w + x];
                    }
                    column = InverseLine(column);
                    for (int y = 0; y < lh; ++y) {
                        plane[y * w + x] = column[y];
                    }
                }
            }
            ASSERT_EQ(plane, original) << w << " x " << h << ", " << levels << " levels";
        }
    }
}
