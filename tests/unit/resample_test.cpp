#include "capture/capture_geometry.h"
#include "capture/resample.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace qorvic;

namespace {

using Pixels = std::vector<std::uint32_t>;

Pixels Scaled(const Pixels& source, int width, int height, const Size& out) {
    Pixels target(static_cast<std::size_t>(out.width) * out.height, 0xDEADBEEF);
    Resample(source.data(), width, height, target.data(), out.width, out.height);
    return target;
}

} // namespace

// Each case over a picture whose left part is one colour and the rest another:
// output pixels wholly inside either part keep its colour exactly, whatever the
// scale, and the sizes from 10 % to 200 %, odd ones included, stay in bounds.
TEST(Resample, FlatAreasStayExactAndUnscaledIsACopy) {
    const struct {
        int width, height, edge;
        std::int16_t step;
    } cases[] = {{40, 30, 17, 10}, {41, 29, 17, 20}, {33, 7, 10, 15}, {97, 61, 50, 5},
                 {95, 31, 48, 1},  {7, 3, 3, 1},     {1, 1, 1, 20},   {3, 2, 1, 13}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " +
                     std::to_string(c.step));
        Pixels source(static_cast<std::size_t>(c.width) * c.height);
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = static_cast<int>(i % c.width) < c.edge ? 0x80FF4000u : 0x0000C0FFu;
        const Size out = ScaledSize(c.width, c.height, c.step);
        const Pixels target = Scaled(source, c.width, c.height, out);
        if (c.step == 10) {
            EXPECT_EQ(target, source);
        }
        for (int x = 0; x < out.width; ++x) {
            // The source columns output column x covers.
            const int first = x * c.width / out.width, last = ((x + 1) * c.width - 1) / out.width;
            if (last < c.edge || first >= c.edge) {
                EXPECT_EQ(target[static_cast<std::size_t>(out.height - 1) * out.width + x],
                          source[static_cast<std::size_t>(first)])
                    << "column " << x;
            }
        }
    }
}

// Halving one-pixel detail, a checkerboard or lines across, must average it.
TEST(Resample, HalfOfFineDetailIsFlatGreyAndDoubleRepeatsEachPixel) {
    const int width = 64, height = 48;
    Pixels board(static_cast<std::size_t>(width) * height), lines(board.size());
    for (std::size_t i = 0; i < board.size(); ++i) {
        board[i] = (i % width + i / width) % 2 ? 0xFFFFFFFFu : 0u;
        lines[i] = i / width % 2 ? 0xFFFFFFFFu : 0u;
    }
    for (const Pixels* detail : {&board, &lines})
        for (const std::uint32_t pixel : Scaled(*detail, width, height, {width / 2, height / 2}))
            for (int shift : {0, 8, 16, 24})
                ASSERT_NEAR(static_cast<int>(pixel >> shift & 0xFF), 128, 2);
    const Pixels doubled = Scaled(board, width, height, {width * 2, height * 2});
    for (std::size_t i = 0; i < doubled.size(); ++i)
        ASSERT_EQ(doubled[i], board[i / (width * 2) / 2 * width + i % (width * 2) / 2]) << i;
}
