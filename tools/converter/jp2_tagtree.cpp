#include "jp2_tagtree.h"

#include <algorithm>
#include <climits>

namespace conv {

void HeaderBitWriter::PutBit(unsigned bit) {
    acc_ = (acc_ << 1) | (bit & 1u);
    if (++used_ == capacity_) {
        out_.push_back(static_cast<std::uint8_t>(acc_));
        capacity_ = acc_ == 0xFF ? 7 : 8;
        acc_ = 0;
        used_ = 0;
    }
}

void HeaderBitWriter::PutBits(std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        PutBit((value >> i) & 1u);
    }
}

void HeaderBitWriter::Flush() {
    while (used_ != 0) {
        PutBit(0);
    }
    if (!out_.empty() && out_.back() == 0xFF) {
        out_.push_back(0);
    }
}

TagTree::TagTree(int width, int height) : width_(width), height_(height) {
    // Levels from the leaves up, each half the size (rounded up) of the one below.
    std::vector<std::pair<int, int>> sizes{{width, height}};
    while (sizes.back().first * sizes.back().second > 1) {
        sizes.emplace_back((sizes.back().first + 1) / 2, (sizes.back().second + 1) / 2);
    }
    int total = 0;
    for (const auto& [w, h] : sizes) {
        total += w * h;
    }
    nodes_.resize(total);
    int levelStart = 0;
    for (std::size_t level = 0; level + 1 < sizes.size(); ++level) {
        const auto [w, h] = sizes[level];
        const int parentStart = levelStart + w * h;
        const int parentWidth = sizes[level + 1].first;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                nodes_[levelStart + y * w + x].parent = parentStart + (y / 2) * parentWidth + x / 2;
            }
        }
        levelStart = parentStart;
    }
    // Parents hold the minimum of their children; leaves start "infinite".
    for (Node& n : nodes_) {
        n.value = INT_MAX;
    }
}

void TagTree::SetValue(int x, int y, int value) {
    int node = y * width_ + x;
    nodes_[node].value = value;
    for (node = nodes_[node].parent; node >= 0; node = nodes_[node].parent) {
        nodes_[node].value = std::min(nodes_[node].value, value);
    }
}

void TagTree::Encode(HeaderBitWriter& bits, int x, int y, int threshold) {
    int path[32];
    int depth = 0;
    for (int node = y * width_ + x; node >= 0; node = nodes_[node].parent) {
        path[depth++] = node;
    }
    int low = 0;
    while (depth > 0) {
        Node& n = nodes_[path[--depth]];
        low = std::max(low, n.low);
        while (low < threshold) {
            if (low >= n.value) {
                if (!n.known) {
                    bits.PutBit(1);
                    n.known = true;
                }
                break;
            }
            bits.PutBit(0);
            ++low;
        }
        n.low = low;
    }
}

} // namespace conv
