// Huffman coding for baseline JPEG: tables made for a picture's symbol counts,
// their codes, and the writer of the entropy-coded segment.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace conv {

// A Huffman table: code counts per length 1..16 and the symbols in code order.
struct HuffmanSpec {
    std::array<std::uint8_t, 16> counts;
    std::vector<std::uint8_t> symbols;
};
// The shortest codes for these symbol counts (symbols of count 0 get none) that
// a baseline stream allows: at most 16 bits, none all ones.
HuffmanSpec OptimalHuffman(const std::array<std::uint32_t, 256>& frequencies);

// Code and length per symbol of the four tables, derived the canonical way.
// Each entry is the code already shifted past the symbol's extra bits (bits
// 5-31) and the length of both (bits 0-4): one lookup per symbol.
struct HuffmanCodes {
    std::array<std::uint32_t, 4 * 256> entry{};

    void Set(int table, const HuffmanSpec& spec);
};

// The entropy-coded segment: bits most significant first, 0xFF followed by a stuffed 0.
class BitWriter {
public:
    // `expected`: about the bytes the segment takes; more is found if needed.
    BitWriter(std::vector<std::uint8_t>& out, std::size_t expected) : out_(out) {
        out_.resize(expected + 64);
    }
    void Put(std::uint32_t bits, int count) { // 1 <= count <= 27
        buffer_ = (buffer_ << count) | bits;
        filled_ += count;
        if (out_.size() - size_ < 16)
            out_.resize(out_.size() * 2);
        // Every whole byte goes out at once, by one unaligned store, unless
        // one of them is 0xFF and needs its stuffed zero.
        const std::uint64_t top = buffer_ << (64 - filled_);
        const int bytes = filled_ >> 3;
        const std::uint64_t inverted = ~top;
        const std::uint64_t ones = 0x0101010101010101u;
        if (((inverted - ones) & ~inverted & (ones << 7) & ~(~std::uint64_t{0} >> (8 * bytes))) ==
            0) {
            const std::uint64_t bigEndian = __builtin_bswap64(top);
            std::memcpy(out_.data() + size_, &bigEndian, 8);
            size_ += static_cast<std::size_t>(bytes);
        } else {
            for (int i = 0; i < bytes; ++i) {
                out_[size_++] = static_cast<std::uint8_t>(top >> (56 - 8 * i));
                if (out_[size_ - 1] == 0xFF)
                    out_[size_++] = 0;
            }
        }
        filled_ &= 7;
    }
    // Pads the last byte with one bits and appends a marker when asked.
    void Flush(int marker = -1) {
        if (const int pad = (8 - filled_ % 8) % 8)
            Put((1u << pad) - 1, pad);
        if (marker >= 0) {
            out_[size_++] = 0xFF;
            out_[size_++] = static_cast<std::uint8_t>(marker);
        }
    }
    void Finish() {
        Flush();
        out_.resize(size_);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t size_ = 0;
    std::uint64_t buffer_ = 0;
    int filled_ = 0;
};

} // namespace conv
