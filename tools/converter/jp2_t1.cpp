#include "jp2_t1.h"

#include <algorithm>
#include <array>
#include <bit>

namespace conv {

namespace {

// Flag word bits. The low byte holds the significance of the eight neighbours,
// the next nibble the signs of the four direct ones.
constexpr std::uint32_t kSigN = 1u << 0;
constexpr std::uint32_t kSigS = 1u << 1;
constexpr std::uint32_t kSigW = 1u << 2;
constexpr std::uint32_t kSigE = 1u << 3;
constexpr std::uint32_t kSigNW = 1u << 4;
constexpr std::uint32_t kSigNE = 1u << 5;
constexpr std::uint32_t kSigSW = 1u << 6;
constexpr std::uint32_t kSigSE = 1u << 7;
constexpr std::uint32_t kNeighbours = 0xFFu;
constexpr std::uint32_t kNegN = 1u << 8;
constexpr std::uint32_t kNegS = 1u << 9;
constexpr std::uint32_t kNegW = 1u << 10;
constexpr std::uint32_t kNegE = 1u << 11;
constexpr std::uint32_t kSignificant = 1u << 12;
constexpr std::uint32_t kVisited = 1u << 13;
constexpr std::uint32_t kRefined = 1u << 14;

constexpr std::uint32_t kSignBit = 1u << 31;

// Context numbers: zero coding 0..8, sign 9..13, refinement 14..16, run 17, uniform 18.
constexpr int kSignContext = 9;
constexpr int kRefineFirstQuiet = 14;
constexpr int kRefineFirstBusy = 15;
constexpr int kRefineLater = 16;
constexpr int kRunContext = 17;
constexpr int kUniformContext = 18;

std::uint8_t ZeroContextLlLh(int h, int v, int d) {
    if (h == 2) {
        return 8;
    }
    if (h == 1) {
        return v >= 1 ? 7 : (d >= 1 ? 6 : 5);
    }
    if (v == 2) {
        return 4;
    }
    if (v == 1) {
        return 3;
    }
    return d >= 2 ? 2 : static_cast<std::uint8_t>(d);
}

std::uint8_t ZeroContextHh(int hv, int d) {
    if (d >= 3) {
        return 8;
    }
    if (d == 2) {
        return hv >= 1 ? 7 : 6;
    }
    if (d == 1) {
        return hv >= 2 ? 5 : (hv == 1 ? 4 : 3);
    }
    return hv >= 2 ? 2 : static_cast<std::uint8_t>(hv);
}

// Zero-coding context for each neighbourhood byte, one table per band kind.
struct ZeroContextTables {
    std::array<std::array<std::uint8_t, 256>, 4> table{};
    ZeroContextTables() {
        for (int n = 0; n < 256; ++n) {
            const int v = ((n & kSigN) ? 1 : 0) + ((n & kSigS) ? 1 : 0);
            const int h = ((n & kSigW) ? 1 : 0) + ((n & kSigE) ? 1 : 0);
            const int d = std::popcount(static_cast<unsigned>(n) & 0xF0u);
            table[0][n] = ZeroContextLlLh(h, v, d);
            table[1][n] = ZeroContextLlLh(v, h, d); // HL: vertical neighbours lead
            table[2][n] = ZeroContextLlLh(h, v, d);
            table[3][n] = ZeroContextHh(h + v, d);
        }
    }
};

// Sign context and the bit the sign is XORed with, indexed by the significance
// (bits 0..3) and signs (bits 4..7) of the N, S, W, E neighbours.
struct SignContextTable {
    std::array<std::uint8_t, 256> context{};
    std::array<std::uint8_t, 256> flip{};
    SignContextTable() {
        for (int n = 0; n < 256; ++n) {
            auto contribution = [n](int sigBit, int negBit) {
                return (n & sigBit) ? ((n & negBit) ? -1 : 1) : 0;
            };
            const int v = std::clamp(contribution(1, 16) + contribution(2, 32), -1, 1);
            const int h = std::clamp(contribution(4, 64) + contribution(8, 128), -1, 1);
            int ctx = 0;
            int xorBit = 0;
            if (h == 0) {
                ctx = v == 0 ? kSignContext : kSignContext + 1;
                xorBit = v < 0 ? 1 : 0;
            } else {
                // h = 1: v 1 -> 13, 0 -> 12, -1 -> 11; h = -1 mirrored
                ctx = kSignContext + 3 + h * v;
                xorBit = h < 0 ? 1 : 0;
            }
            context[n] = static_cast<std::uint8_t>(ctx);
            flip[n] = static_cast<std::uint8_t>(xorBit);
        }
    }
};

const ZeroContextTables kZeroContexts;
const SignContextTable kSignContexts;

inline unsigned SignIndex(std::uint32_t flag) {
    return (flag & 0xFu) | ((flag >> 4) & 0xF0u);
}

} // namespace

BlockCoder::BlockCoder() {
    words_.resize(kMaxBlockSide * kMaxBlockSide);
    flags_.resize((kMaxBlockSide + 2) * (kMaxBlockSide + 2));
    columns_.resize((kMaxBlockSide / 4) * (kMaxBlockSide + 2));
    columnBits_.resize((kMaxBlockSide / 4) * (kMaxBlockSide + 2));
    stripeActive_.resize(kMaxBlockSide / 4);
}

void BlockCoder::Encode(const std::int32_t* coefficients, int width, int height,
                        std::ptrdiff_t stride, BandKind kind, CodedBlock& block) {
    width_ = width;
    height_ = height;
    flagStride_ = width + 2;
    stripes_ = (height + 3) / 4;
    zeroContexts_ = kZeroContexts.table[static_cast<int>(kind)].data();

    std::fill_n(columnBits_.begin(), static_cast<std::size_t>(stripes_) * flagStride_, 0u);
    std::uint32_t all = 0;
    for (int y = 0; y < height; ++y) {
        const std::int32_t* row = coefficients + y * stride;
        std::uint32_t* out = words_.data() + y * width;
        std::uint32_t* bits = columnBits_.data() + (y >> 2) * flagStride_ + 1;
        for (int x = 0; x < width; ++x) {
            const std::int32_t c = row[x];
            const std::uint32_t magnitude =
                c < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(c))
                      : static_cast<std::uint32_t>(c);
            bits[x] |= magnitude;
            out[x] = magnitude | (c < 0 ? kSignBit : 0);
        }
    }
    for (int i = 0; i < stripes_ * flagStride_; ++i) {
        all |= columnBits_[i];
    }
    block.data.clear();
    block.bitPlanes = std::bit_width(all);
    block.passes = 0;
    if (block.bitPlanes == 0) {
        return;
    }
    std::fill_n(flags_.begin(), static_cast<std::size_t>(flagStride_) * (height + 2), 0u);
    std::fill_n(columns_.begin(), static_cast<std::size_t>(stripes_) * flagStride_, 0);
    std::fill_n(stripeActive_.begin(), stripes_, 0);
    for (MqContext& cx : contexts_) {
        cx = MqContext{};
    }
    contexts_[0].state = 4;
    contexts_[kRunContext].state = 3;
    contexts_[kUniformContext].state = 46;

    const std::size_t columnsInBlock = static_cast<std::size_t>(stripes_) * width;
    const std::size_t symbols =
        static_cast<std::size_t>(block.bitPlanes) * (width * height + 3 * columnsInBlock) +
        static_cast<std::size_t>(width) * height;
    if (buffer_.size() < MqEncoder::BufferBytes(symbols)) {
        buffer_.resize(MqEncoder::BufferBytes(symbols));
    }
    mq_.Start(buffer_.data());
    for (int plane = block.bitPlanes - 1; plane >= 0; --plane) {
        if (plane != block.bitPlanes - 1) {
            SignificancePass(plane);
            RefinementPass(plane);
        }
        CleanupPass(plane);
    }
    std::size_t length = 0;
    const std::uint8_t* code = mq_.Finish(&length);
    block.data.assign(code, code + length);
    block.passes = 3 * block.bitPlanes - 2;
}

// Codes the sign of the coefficient at (x, y) that has just turned significant
// and tells its neighbours.
void BlockCoder::CodeNewlySignificant(MqEncoder& mq, std::uint32_t* flag, std::uint32_t word, int x,
                                      int y) {
    const unsigned index = SignIndex(*flag);
    const unsigned negative = word >> 31;
    mq.Encode(contexts_[kSignContexts.context[index]], negative ^ kSignContexts.flip[index]);
    const std::ptrdiff_t s = flagStride_;
    flag[0] |= kSignificant;
    flag[-s] |= kSigS | (negative ? kNegS : 0);
    flag[s] |= kSigN | (negative ? kNegN : 0);
    flag[-1] |= kSigE | (negative ? kNegE : 0);
    flag[1] |= kSigW | (negative ? kNegW : 0);
    flag[-s - 1] |= kSigSE;
    flag[-s + 1] |= kSigSW;
    flag[s - 1] |= kSigNE;
    flag[s + 1] |= kSigNW;

    const int stripe = y >> 2;
    const int row = y & 3;
    columns_[stripe * s + x + 1] |= static_cast<std::uint8_t>(2u << row);
    stripeActive_[stripe] = 1;
    if (row == 0 && stripe > 0) {
        columns_[(stripe - 1) * s + x + 1] |= 1u << 5;
        stripeActive_[stripe - 1] = 1;
    }
    if (row == 3 && stripe + 1 < stripes_) {
        columns_[(stripe + 1) * s + x + 1] |= 1u;
        stripeActive_[stripe + 1] = 1;
    }
}

void BlockCoder::SignificancePass(int plane) {
    // Locals, not members: the byte stores of the coder may alias any member, which
    // would force every member back to memory after each decision.
    const std::ptrdiff_t fs = flagStride_;
    const int width = width_;
    const int height = height_;
    const int stripes = stripes_;
    std::uint32_t* const flags = flags_.data();
    const std::uint32_t* const words = words_.data();
    const std::uint8_t* const columns = columns_.data();
    const std::uint8_t* const active = stripeActive_.data();
    const std::uint8_t* const zero = zeroContexts_;
    MqContext* const cx = contexts_;
    MqEncoder mq = mq_;
    for (int stripe = 0; stripe < stripes; ++stripe) {
        if (!active[stripe]) {
            continue;
        }
        const int y0 = stripe * 4;
        const int rows = std::min(4, height - y0);
        const std::uint8_t* column = columns + stripe * fs + 1;
        for (int x = 0; x < width; ++x) {
            if (!(column[x - 1] | column[x] | column[x + 1])) {
                continue; // nothing significant around: no coefficient here qualifies
            }
            std::uint32_t* flag = flags + (y0 + 1) * fs + x + 1;
            const std::uint32_t* word = words + y0 * width + x;
            for (int r = 0; r < rows; ++r, flag += fs, word += width) {
                const std::uint32_t f = *flag;
                if ((f & kSignificant) || !(f & kNeighbours)) {
                    continue;
                }
                const unsigned bit = (*word >> plane) & 1u;
                mq.Encode(cx[zero[f & kNeighbours]], bit);
                if (bit) {
                    CodeNewlySignificant(mq, flag, *word, x, y0 + r);
                }
                *flag |= kVisited;
            }
        }
    }
    mq_ = mq;
}

void BlockCoder::RefinementPass(int plane) {
    // Locals, not members: the byte stores of the coder may alias any member, which
    // would force every member back to memory after each decision.
    const std::ptrdiff_t fs = flagStride_;
    const int width = width_;
    const int height = height_;
    const int stripes = stripes_;
    std::uint32_t* const flags = flags_.data();
    const std::uint32_t* const words = words_.data();
    const std::uint8_t* const columns = columns_.data();
    const std::uint8_t* const active = stripeActive_.data();
    MqContext* const cx = contexts_;
    MqEncoder mq = mq_;
    for (int stripe = 0; stripe < stripes; ++stripe) {
        if (!active[stripe]) {
            continue;
        }
        const int y0 = stripe * 4;
        const int rows = std::min(4, height - y0);
        const std::uint8_t* column = columns + stripe * fs + 1;
        for (int x = 0; x < width; ++x) {
            if (!(column[x] & 0x1E)) {
                continue;
            }
            std::uint32_t* flag = flags + (y0 + 1) * fs + x + 1;
            const std::uint32_t* word = words + y0 * width + x;
            for (int r = 0; r < rows; ++r, flag += fs, word += width) {
                const std::uint32_t f = *flag;
                if ((f & (kSignificant | kVisited)) != kSignificant) {
                    continue;
                }
                const int ctx = (f & kRefined)      ? kRefineLater
                                : (f & kNeighbours) ? kRefineFirstBusy
                                                    : kRefineFirstQuiet;
                mq.Encode(cx[ctx], (*word >> plane) & 1u);
                *flag = f | kRefined;
            }
        }
    }
    mq_ = mq;
}

void BlockCoder::CleanupPass(int plane) {
    // Locals, not members: the byte stores of the coder may alias any member, which
    // would force every member back to memory after each decision.
    const std::ptrdiff_t fs = flagStride_;
    const int width = width_;
    const int height = height_;
    const int stripes = stripes_;
    std::uint32_t* const flags = flags_.data();
    const std::uint32_t* const words = words_.data();
    const std::uint8_t* const columns = columns_.data();
    const std::uint8_t* const zero = zeroContexts_;
    MqContext* const cx = contexts_;
    MqEncoder mq = mq_;
    for (int stripe = 0; stripe < stripes; ++stripe) {
        const int y0 = stripe * 4;
        const int rows = std::min(4, height - y0);
        const std::uint8_t* column = columns + stripe * fs + 1;
        const std::uint32_t* columnBits = columnBits_.data() + stripe * fs + 1;
        for (int x = 0; x < width; ++x) {
            std::uint32_t* flag = flags + (y0 + 1) * fs + x + 1;
            const std::uint32_t* word = words + y0 * width + x;
            int r = 0;
            // Nothing significant in or around the column means none of the four is
            // significant, visited or has a significant neighbour: run mode.
            if (rows == 4 && !(column[x - 1] | column[x] | column[x + 1])) {
                if (!((columnBits[x] >> plane) & 1u)) {
                    mq.Encode(cx[kRunContext], 0);
                    continue;
                }
                while (!((word[r * width] >> plane) & 1u)) {
                    ++r;
                }
                mq.Encode(cx[kRunContext], 1);
                mq.Encode(cx[kUniformContext], static_cast<unsigned>(r) >> 1);
                mq.Encode(cx[kUniformContext], static_cast<unsigned>(r) & 1u);
                CodeNewlySignificant(mq, flag + r * fs, word[r * width], x, y0 + r);
                ++r;
            }
            for (; r < rows; ++r) {
                std::uint32_t* f = flag + r * fs;
                const std::uint32_t w = word[r * width];
                if (!(*f & (kSignificant | kVisited))) {
                    const unsigned bit = (w >> plane) & 1u;
                    mq.Encode(cx[zero[*f & kNeighbours]], bit);
                    if (bit) {
                        CodeNewlySignificant(mq, f, w, x, y0 + r);
                    }
                }
                *f &= ~kVisited;
            }
        }
    }
    mq_ = mq;
}

} // namespace conv
