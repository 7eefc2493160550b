// Packet-header bits: the bit writer with JPEG 2000's bit stuffing after 0xFF,
// and the tag tree that codes a grid of values through their quad-tree minima.
#pragma once

#include <cstdint>
#include <vector>

namespace conv {

class HeaderBitWriter {
public:
    explicit HeaderBitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void PutBit(unsigned bit);
    void PutBits(std::uint32_t value, int count); // most significant first
    // Pads the last byte with zeros; a header never ends in 0xFF, so one 0x00 follows it.
    void Flush();

private:
    std::vector<std::uint8_t>& out_;
    unsigned acc_ = 0;
    int capacity_ = 8; // 7 right after a 0xFF byte
    int used_ = 0;
};

class TagTree {
public:
    TagTree(int width, int height);

    void SetValue(int x, int y, int value);
    // Emits the bits that tell whether leaf (x, y) is below `threshold` and, when
    // it is, its exact value, continuing from what earlier calls already sent.
    void Encode(HeaderBitWriter& bits, int x, int y, int threshold);

    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Node {
        int value = 0;
        int low = 0;
        bool known = false;
        int parent = -1;
    };
    int width_;
    int height_;
    std::vector<Node> nodes_;
};

} // namespace conv
