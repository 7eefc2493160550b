// What every layout must keep at every screen scale: its physical size, its
// place inside its parent, and clear of its neighbours. Boxes are anything with
// left, top, width and height.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

namespace qorvic::testing {

// 100, 125, 150 and 200 %.
inline constexpr int kDpis[] = {96, 120, 144, 192};

// A length at `dpi` is its design length scaled, give or take the rounding.
inline ::testing::AssertionResult SamePhysicalSize(double actual, double atDesign, int dpi,
                                                   double slack = 1.0) {
    const double expected = atDesign * dpi / 96.0;
    if (std::abs(actual - expected) <= slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " at " << dpi << " DPI, " << expected << " expected from " << atDesign;
}

template <class Box>
::testing::AssertionResult SamePhysicalBox(const Box& b, const Box& design, int dpi) {
    for (const auto& [actual, designed] : {std::pair{b.left, design.left},
                                           {b.top, design.top},
                                           {b.width, design.width},
                                           {b.height, design.height}})
        if (auto same = SamePhysicalSize(actual, designed, dpi); !same)
            return same;
    return ::testing::AssertionSuccess();
}

template <class Box> bool FitsIn(const Box& b, int width, int height) {
    return b.left >= 0 && b.top >= 0 && b.left + b.width <= width && b.top + b.height <= height;
}

template <class A, class B> bool Overlap(const A& a, const B& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

} // namespace qorvic::testing
