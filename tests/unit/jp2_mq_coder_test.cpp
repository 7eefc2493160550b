#include "jp2_mq_coder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace conv;

namespace {

// A decoder written from the coder's definition (initialisation, decision,
// renormalisation, byte input), independent of the encoder's code paths. Bytes past the end read as
// 0xFF.
class MqDecoder {
public:
    explicit MqDecoder(const std::vector<std::uint8_t>& data) : data_(data) {
        c_ = static_cast<std::uint32_t>(Byte(0)) << 16;
        ByteIn();
        c_ <<= 7;
        ct_ -= 7;
        a_ = 0x8000;
    }

    // The encoder gives the lower Qe of the interval to the less probable symbol,
    // unless the rest would be smaller (conditional exchange); the decoder mirrors it.
    unsigned Decode(MqContext& cx) {
        const MqState& s = kMqStates[cx.state];
        unsigned d;
        a_ -= s.qe;
        if ((c_ >> 16) < s.qe) {
            d = a_ < s.qe ? cx.mps : 1 - cx.mps;
            a_ = s.qe;
        } else {
            c_ -= static_cast<std::uint32_t>(s.qe) << 16;
            if (a_ & 0x8000) {
                return cx.mps;
            }
            d = a_ < s.qe ? 1 - cx.mps : cx.mps;
        }
        if (d == cx.mps) {
            cx.state = s.nextMps;
        } else {
            cx.mps ^= s.switchMps;
            cx.state = s.nextLps;
        }
        do {
            if (ct_ == 0) {
                ByteIn();
            }
            a_ <<= 1;
            c_ <<= 1;
            --ct_;
        } while ((a_ & 0x8000) == 0);
        return d;
    }

private:
    std::uint8_t Byte(std::size_t i) const { return i < data_.size() ? data_[i] : 0xFF; }
    void ByteIn() {
        if (Byte(bp_) == 0xFF) {
            if (Byte(bp_ + 1) > 0x8F) {
                c_ += 0xFF00;
                ct_ = 8;
            } else {
                ++bp_;
                c_ += static_cast<std::uint32_t>(Byte(bp_)) << 9;
                ct_ = 7;
            }
        } else {
            ++bp_;
            c_ += static_cast<std::uint32_t>(Byte(bp_)) << 8;
            ct_ = 8;
        }
    }

    const std::vector<std::uint8_t>& data_;
    std::size_t bp_ = 0;
    std::uint32_t a_ = 0;
    std::uint32_t c_ = 0;
    int ct_ = 0;
};

std::vector<std::uint8_t> Finish(MqEncoder& enc) {
    std::size_t length = 0;
    const std::uint8_t* code = enc.Finish(&length);
    return {code, code + length};
}

} // namespace

// The arithmetic coder test sequence published with the coder's definition
// (ITU-T T.88 Annex H.2, the same coder as JPEG 2000's): 256 decisions in one
// context starting at state 0.
TEST(MqCoder, ReproducesThePublishedTestSequence) {
    const std::vector<std::uint8_t> decisions = {0x00, 0x02, 0x00, 0x51, 0x00, 0x00, 0x00, 0xC0,
                                                 0x03, 0x52, 0x87, 0x2A, 0xAA, 0xAA, 0xAA, 0xAA,
                                                 0x82, 0xC0, 0x20, 0x00, 0xFC, 0xD7, 0x9E, 0xF6,
                                                 0xBF, 0x7F, 0xED, 0x90, 0x4F, 0x46, 0xA3, 0xBF};
    // The published code word; its own terminating marker 0xFF 0xAC is not ours.
    const std::vector<std::uint8_t> expected = {
        0x84, 0xC7, 0x3B, 0xFC, 0xE1, 0xA1, 0x43, 0x04, 0x02, 0x20, 0x00, 0x00, 0x41, 0x0D,
        0xBB, 0x86, 0xF4, 0x31, 0x7F, 0xFF, 0x88, 0xFF, 0x37, 0x47, 0x1A, 0xDB, 0x6A, 0xDF};

    std::vector<std::uint8_t> buffer(MqEncoder::BufferBytes(256));
    MqEncoder enc;
    enc.Start(buffer.data());
    MqContext cx;
    for (std::uint8_t byte : decisions) {
        for (int i = 7; i >= 0; --i) {
            enc.Encode(cx, (byte >> i) & 1u);
        }
    }
    const std::vector<std::uint8_t> out = Finish(enc);
    ASSERT_GE(out.size(), expected.size());
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + expected.size()), expected);
    EXPECT_NE(out.back(), 0xFF) << "a code word never ends in 0xFF";
}

// Random decisions over several contexts, skewed so that long MPS runs, carries
// into 0xFF bytes and bit stuffing all occur; every sequence must decode back.
TEST(MqCoder, RandomSequencesDecodeBackAcrossContexts) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        const int count = std::uniform_int_distribution<int>(1, 4000)(rng);
        const int contexts = std::uniform_int_distribution<int>(1, 19)(rng);
        const double bias = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
        std::vector<std::pair<int, unsigned>> symbols;
        for (int i = 0; i < count; ++i) {
            const int cx = std::uniform_int_distribution<int>(0, contexts - 1)(rng);
            const unsigned bit =
                std::bernoulli_distribution(cx % 2 ? bias : 1.0 - bias)(rng) ? 1u : 0u;
            symbols.emplace_back(cx, bit);
        }
        std::vector<MqContext> encoding(contexts);
        encoding[0].state = 4; // the initial states of the block coder's special contexts
        std::vector<MqContext> decoding = encoding;
        std::vector<std::uint8_t> buffer(MqEncoder::BufferBytes(symbols.size()));
        MqEncoder enc;
        enc.Start(buffer.data());
        for (const auto& [cx, bit] : symbols) {
            enc.Encode(encoding[cx], bit);
        }
        const std::vector<std::uint8_t> out = Finish(enc);
        MqDecoder dec(out);
        for (std::size_t i = 0; i < symbols.size(); ++i) {
            ASSERT_EQ(dec.Decode(decoding[symbols[i].first]), symbols[i].second)
                << "trial " << trial << ", symbol " << i << " of " << symbols.size();
        }
        for (std::size_t i = 0; i + 1 < out.size(); ++i) {
            if (out[i] == 0xFF) {
                ASSERT_LE(out[i + 1], 0x8F) << "0xFF followed by a marker code at " << i;
            }
        }
    }
}

TEST(MqCoder, ABufferServesOneCodeWordAfterAnother) {
    std::vector<std::uint8_t> buffer(MqEncoder::BufferBytes(5000));
    MqEncoder enc;
    MqContext a;
    enc.Start(buffer.data());
    for (int i = 0; i < 5000; ++i) {
        enc.Encode(a, i % 3 == 0);
    }
    const std::vector<std::uint8_t> longWord = Finish(enc);
    MqContext b;
    enc.Start(buffer.data());
    enc.Encode(b, 1);
    enc.Encode(b, 0);
    const std::vector<std::uint8_t> shortWord = Finish(enc);
    EXPECT_LT(shortWord.size(), longWord.size());
    MqContext c;
    MqDecoder dec(shortWord);
    EXPECT_EQ(dec.Decode(c), 1u);
    EXPECT_EQ(dec.Decode(c), 0u);
}
