// The EBCOT block coder: codes one code-block's coefficients bit plane by bit
// plane in the three coding passes (significance propagation, magnitude
// refinement, cleanup) through the MQ coder, as one code word terminated once
// at the end, which is all a single lossless quality layer needs.
#pragma once

#include "jp2_mq_coder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace conv {

// Subband kinds; the value picks the zero-coding context table.
enum class BandKind { LL = 0, HL = 1, LH = 2, HH = 3 };

struct CodedBlock {
    std::vector<std::uint8_t> data; // the terminated code word
    int bitPlanes = 0;              // magnitude bit planes; 0 when every coefficient is 0
    int passes = 0;                 // coding passes in `data`: 3 * bitPlanes - 2, or 0
};

// Largest code-block side; blocks are at most kMaxBlockSide x kMaxBlockSide.
constexpr int kMaxBlockSide = 64;

// Holds the scratch state of one thread's block coding, so coding a block
// allocates nothing once the first block has been seen.
class BlockCoder {
public:
    BlockCoder();

    // Codes the width x height coefficients at `coefficients` (two's complement,
    // row stride `stride`) of a subband of kind `kind` into `block`.
    void Encode(const std::int32_t* coefficients, int width, int height, std::ptrdiff_t stride,
                BandKind kind, CodedBlock& block);

private:
    void SignificancePass(int plane);
    void RefinementPass(int plane);
    void CleanupPass(int plane);
    [[gnu::always_inline]] inline void CodeNewlySignificant(MqEncoder& mq, std::uint32_t* flag,
                                                            std::uint32_t word, int x, int y);

    int width_ = 0;
    int height_ = 0;
    int flagStride_ = 0;
    const std::uint8_t* zeroContexts_ = nullptr;
    // Magnitude in bits 0..30 and the sign in bit 31, row-major, width_ per row.
    std::vector<std::uint32_t> words_;
    // One word per coefficient with a one-coefficient border that stays empty:
    // neighbour significance and signs, own significance, visited and refined.
    std::vector<std::uint32_t> flags_;
    // Per stripe column (4 rows, one border column each side): significance of the
    // rows y0-1 .. y0+4 in bits 0..5, so one OR of three columns tells whether a
    // column can need any work in a pass.
    std::vector<std::uint8_t> columns_;
    // Per stripe column: OR of the four magnitudes, for the cleanup pass's run test.
    std::vector<std::uint32_t> columnBits_;
    // Per stripe: whether anything in or next to it is significant yet.
    std::vector<std::uint8_t> stripeActive_;
    int stripes_ = 0;
    MqContext contexts_[19];
    MqEncoder mq_;
    std::vector<std::uint8_t> buffer_; // the code word while it is being written
};

} // namespace conv
