// The MQ arithmetic coder of JPEG 2000's block coder. Header-only so the block
// coder's inner loops inline it; the registers are plain members, the output a
// byte vector that grows only when a code-block outruns its reserve.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace conv {

// One row of the probability estimation table.
struct MqState {
    std::uint16_t qe;
    std::uint8_t nextMps;
    std::uint8_t nextLps;
    std::uint8_t switchMps;
};

extern const MqState kMqStates[47];

// A context: index into kMqStates and the current more probable symbol.
struct MqContext {
    std::uint8_t state = 0;
    std::uint8_t mps = 0;
};

class MqEncoder {
public:
    // Starts a fresh code word; `out` keeps its capacity between code-blocks.
    void Start(std::vector<std::uint8_t>& out) {
        out_ = &out;
        out.clear();
        out.push_back(0); // the byte "before" the code word, dropped on Finish
        a_ = 0x8000;
        c_ = 0;
        ct_ = 12;
    }

    [[gnu::always_inline]] void Encode(MqContext& cx, unsigned bit) {
        const MqState& s = kMqStates[cx.state];
        const std::uint32_t qe = s.qe;
        a_ -= qe;
        if (bit == cx.mps) {
            if (a_ & 0x8000) {
                c_ += qe;
                return;
            }
            if (a_ < qe) {
                a_ = qe;
            } else {
                c_ += qe;
            }
            cx.state = s.nextMps;
        } else {
            if (a_ < qe) {
                c_ += qe;
            } else {
                a_ = qe;
            }
            cx.mps ^= s.switchMps;
            cx.state = s.nextLps;
        }
        Renormalise();
    }

    // Terminates the code word (the standard's flush) and returns its length.
    // The output then holds exactly the code word's bytes.
    std::size_t Finish() {
        const std::uint32_t tempc = c_ + a_;
        c_ |= 0xFFFF;
        if (c_ >= tempc) {
            c_ -= 0x8000;
        }
        c_ <<= ct_;
        ByteOut();
        c_ <<= ct_;
        ByteOut();
        std::vector<std::uint8_t>& out = *out_;
        // A trailing 0xFF is implied by the decoder and is never written.
        if (out.back() == 0xFF) {
            out.pop_back();
        }
        out.erase(out.begin());
        return out.size();
    }

private:
    [[gnu::always_inline]] void Renormalise() {
        do {
            a_ <<= 1;
            c_ <<= 1;
            if (--ct_ == 0) {
                ByteOut();
            }
        } while ((a_ & 0x8000) == 0);
    }

    void ByteOut() {
        std::vector<std::uint8_t>& out = *out_;
        std::uint8_t& b = out.back();
        if (b == 0xFF) {
            out.push_back(static_cast<std::uint8_t>(c_ >> 20));
            c_ &= 0xFFFFF;
            ct_ = 7;
        } else if (c_ < 0x8000000) {
            out.push_back(static_cast<std::uint8_t>(c_ >> 19));
            c_ &= 0x7FFFF;
            ct_ = 8;
        } else {
            ++b;
            if (b == 0xFF) {
                c_ &= 0x7FFFFFF;
                out.push_back(static_cast<std::uint8_t>(c_ >> 20));
                c_ &= 0xFFFFF;
                ct_ = 7;
            } else {
                out.push_back(static_cast<std::uint8_t>(c_ >> 19));
                c_ &= 0x7FFFF;
                ct_ = 8;
            }
        }
    }

    std::vector<std::uint8_t>* out_ = nullptr;
    std::uint32_t a_ = 0x8000;
    std::uint32_t c_ = 0;
    unsigned ct_ = 12;
};

} // namespace conv
