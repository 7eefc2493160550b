#include "jp2_tagtree.h"
#include "jp2_t2.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace conv;

namespace {

// Reads packet-header bits the way a decoder does: after a 0xFF byte the next
// byte carries only 7 bits.
class HeaderBitReader {
public:
    explicit HeaderBitReader(const std::vector<std::uint8_t>& data) : data_(data) {}

    unsigned Bit() {
        if (left_ == 0) {
            const bool stuffed = pos_ > 0 && data_.at(pos_ - 1) == 0xFF;
            current_ = data_.at(pos_++);
            left_ = stuffed ? 7 : 8;
        }
        return (current_ >> --left_) & 1u;
    }
    unsigned Bits(int n) {
        unsigned v = 0;
        while (n-- > 0) {
            v = (v << 1) | Bit();
        }
        return v;
    }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t pos_ = 0;
    unsigned current_ = 0;
    int left_ = 0;
};

// Tag-tree decoding as the decoder performs it, with its own node bookkeeping.
class TagTreeDecoder {
public:
    TagTreeDecoder(int w, int h) : w_(w) {
        std::vector<std::pair<int, int>> sizes{{w, h}};
        while (sizes.back().first * sizes.back().second > 1) {
            sizes.emplace_back((sizes.back().first + 1) / 2, (sizes.back().second + 1) / 2);
        }
        levels_ = sizes;
        for (const auto& [lw, lh] : sizes) {
            value_.emplace_back(lw * lh, 1 << 20);
            low_.emplace_back(lw * lh, 0);
        }
    }

    // Returns whether leaf (x, y) is below `threshold`; *value gets it when so.
    bool Decode(HeaderBitReader& in, int x, int y, int threshold, int* value) {
        int low = 0;
        for (int level = static_cast<int>(levels_.size()) - 1; level >= 0; --level) {
            const int node = (y >> level) * levels_[level].first + (x >> level);
            int& nodeLow = low_[level][node];
            int& nodeValue = value_[level][node];
            low = std::max(low, nodeLow);
            while (low < threshold && low < nodeValue) {
                if (in.Bit()) {
                    nodeValue = low;
                } else {
                    ++low;
                }
            }
            nodeLow = low;
        }
        *value = value_[0][y * w_ + x];
        return *value < threshold;
    }

private:
    int w_;
    std::vector<std::pair<int, int>> levels_;
    std::vector<std::vector<int>> value_;
    std::vector<std::vector<int>> low_;
};

int DecodePassCount(HeaderBitReader& in) {
    if (!in.Bit()) {
        return 1;
    }
    if (!in.Bit()) {
        return 2;
    }
    const unsigned two = in.Bits(2);
    if (two < 3) {
        return 3 + static_cast<int>(two);
    }
    const unsigned five = in.Bits(5);
    if (five < 31) {
        return 6 + static_cast<int>(five);
    }
    return 37 + static_cast<int>(in.Bits(7));
}

} // namespace

TEST(HeaderBits, ByteAfterFfCarriesSevenBitsAndHeadersNeverEndInFf) {
    std::vector<std::uint8_t> out;
    HeaderBitWriter bits(out);
    bits.PutBits(0xFF, 8);
    bits.PutBits(0x7F, 7); // fills the stuffed byte completely
    bits.PutBits(0x5, 3);
    bits.Flush();
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xFF, 0x7F, 0xA0}));

    out.clear();
    HeaderBitWriter ending(out);
    ending.PutBits(0xFF, 8);
    ending.Flush();
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xFF, 0x00}));

    out.clear();
    HeaderBitWriter single(out);
    single.PutBit(1);
    single.Flush();
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x80}));
}

TEST(HeaderBits, EveryPassCountRoundTrips) {
    std::vector<std::uint8_t> out;
    HeaderBitWriter bits(out);
    for (int n = 1; n <= 164; ++n) {
        PutPassCount(bits, n);
    }
    bits.Flush();
    HeaderBitReader in(out);
    for (int n = 1; n <= 164; ++n) {
        ASSERT_EQ(DecodePassCount(in), n);
    }
}

// Codes random grids the way successive quality layers would (rising thresholds,
// every leaf once per threshold), which exercises the state kept between calls.
TEST(TagTree, RandomGridsDecodeAtEveryThreshold) {
    std::mt19937 rng(5);
    for (int trial = 0; trial < 300; ++trial) {
        const int w = std::uniform_int_distribution<int>(1, 11)(rng);
        const int h = std::uniform_int_distribution<int>(1, 11)(rng);
        const int maxValue = std::uniform_int_distribution<int>(0, 9)(rng);
        std::vector<int> values(w * h);
        TagTree tree(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                values[y * w + x] = std::uniform_int_distribution<int>(0, maxValue)(rng);
                tree.SetValue(x, y, values[y * w + x]);
            }
        }
        std::vector<std::uint8_t> out;
        HeaderBitWriter bits(out);
        for (int t = 1; t <= maxValue + 2; ++t) {
            for (int i = 0; i < w * h; ++i) {
                tree.Encode(bits, i % w, i / w, t);
            }
        }
        bits.Flush();

        HeaderBitReader in(out);
        TagTreeDecoder decoder(w, h);
        for (int t = 1; t <= maxValue + 2; ++t) {
            for (int i = 0; i < w * h; ++i) {
                int value = -1;
                const bool below = decoder.Decode(in, i % w, i / w, t, &value);
                ASSERT_EQ(below, values[i] < t) << "trial " << trial << " leaf " << i;
                if (below) {
                    ASSERT_EQ(value, values[i]) << "trial " << trial << " leaf " << i;
                }
            }
        }
    }
}

TEST(TagTree, SingleLeafCostsItsValuePlusOneBits) {
    for (int v : {0, 1, 6}) {
        TagTree tree(1, 1);
        tree.SetValue(0, 0, v);
        std::vector<std::uint8_t> out;
        HeaderBitWriter bits(out);
        tree.Encode(bits, 0, 0, 100);
        tree.Encode(bits, 0, 0, 100); // known by now: nothing more
        bits.PutBit(1);               // marker bit to find the end
        bits.Flush();
        HeaderBitReader in(out);
        for (int i = 0; i < v; ++i) {
            EXPECT_EQ(in.Bit(), 0u) << "value " << v;
        }
        EXPECT_EQ(in.Bit(), 1u) << "value " << v;
        EXPECT_EQ(in.Bit(), 1u) << "value " << v << ": the repeat call must send nothing";
    }
}
