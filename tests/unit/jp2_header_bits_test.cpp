// Packet-header bits. Tag trees in use (several code-blocks per precinct) are
// checked by the reference decoder's round trips in the Jp2Encoder tests.
#include "jp2_t2.h"
#include "jp2_tagtree.h" // the header bit writer

#include <gtest/gtest.h>

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
