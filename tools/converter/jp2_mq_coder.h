// The MQ arithmetic coder of JPEG 2000's block coder. A small value type,
// header-only and fully inlined: the block coder keeps a copy in local variables
// during a pass, so the registers stay in machine registers, and writes into a
// buffer sized for the worst case, so emitting a byte needs no bounds check.
#pragma once

#include <cstddef>
#include <cstdint>

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
    // Bytes of buffer needed for `symbols` coded decisions: a decision shifts out
    // at most 15 bits, a byte carries at least 7, plus the byte before the code
    // word and the flush.
    static constexpr std::size_t BufferBytes(std::size_t symbols) { return symbols * 15 / 7 + 8; }

    // Starts a code word in `buffer`, which must hold BufferBytes(decisions) bytes.
    void Start(std::uint8_t* buffer) {
        start_ = buffer;
        buffer[0] = 0; // the byte "before" the code word, never part of it
        bp_ = buffer;
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
        do {
            a_ <<= 1;
            c_ <<= 1;
            if (--ct_ == 0) {
                ByteOut();
            }
        } while ((a_ & 0x8000) == 0);
    }

    // Terminates the code word (the standard's flush). Returns its first byte; its
    // length goes to *length. A trailing 0xFF is implied and never written.
    const std::uint8_t* Finish(std::size_t* length) {
        const std::uint32_t tempc = c_ + a_;
        c_ |= 0xFFFF;
        if (c_ >= tempc) {
            c_ -= 0x8000;
        }
        c_ <<= ct_;
        ByteOut();
        c_ <<= ct_;
        ByteOut();
        std::uint8_t* end = bp_ + 1;
        if (*bp_ == 0xFF) {
            --end;
        }
        *length = static_cast<std::size_t>(end - (start_ + 1));
        return start_ + 1;
    }

private:
    [[gnu::always_inline]] void ByteOut() {
        if (*bp_ == 0xFF) {
            *++bp_ = static_cast<std::uint8_t>(c_ >> 20);
            c_ &= 0xFFFFF;
            ct_ = 7;
        } else if (c_ < 0x8000000) {
            *++bp_ = static_cast<std::uint8_t>(c_ >> 19);
            c_ &= 0x7FFFF;
            ct_ = 8;
        } else {
            ++*bp_;
            if (*bp_ == 0xFF) {
                c_ &= 0x7FFFFFF;
                *++bp_ = static_cast<std::uint8_t>(c_ >> 20);
                c_ &= 0xFFFFF;
                ct_ = 7;
            } else {
                *++bp_ = static_cast<std::uint8_t>(c_ >> 19);
                c_ &= 0x7FFFF;
                ct_ = 8;
            }
        }
    }

    std::uint8_t* start_ = nullptr;
    std::uint8_t* bp_ = nullptr; // the last byte written
    std::uint32_t a_ = 0x8000;
    std::uint32_t c_ = 0;
    unsigned ct_ = 12;
};

} // namespace conv
