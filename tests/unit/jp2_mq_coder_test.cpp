// The coder's decoding side is the reference decoder's job (Jp2Encoder tests);
// here the encoder meets the published sequence and the codestream's rules.
#include "jp2_mq_coder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace conv;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Finish(MqEncoder& enc) {
    std::size_t length = 0;
    const std::uint8_t* code = enc.Finish(&length);
    return {code, code + length};
}

// Codes `bits` in one fresh context.
Bytes Code(MqEncoder& enc, Bytes& buffer, const std::vector<unsigned>& bits) {
    enc.Start(buffer.data());
    MqContext cx;
    for (unsigned bit : bits)
        enc.Encode(cx, bit);
    return Finish(enc);
}

} // namespace

// The arithmetic coder test sequence published with the coder's definition
// (ITU-T T.88 Annex H.2, the same coder as JPEG 2000's): 256 decisions in one
// context starting at state 0.
TEST(MqCoder, ReproducesThePublishedTestSequence) {
    const Bytes decisions = {0x00, 0x02, 0x00, 0x51, 0x00, 0x00, 0x00, 0xC0, 0x03, 0x52, 0x87,
                             0x2A, 0xAA, 0xAA, 0xAA, 0xAA, 0x82, 0xC0, 0x20, 0x00, 0xFC, 0xD7,
                             0x9E, 0xF6, 0xBF, 0x7F, 0xED, 0x90, 0x4F, 0x46, 0xA3, 0xBF};
    // The published code word; its own terminating marker 0xFF 0xAC is not ours.
    const Bytes expected = {0x84, 0xC7, 0x3B, 0xFC, 0xE1, 0xA1, 0x43, 0x04, 0x02, 0x20,
                            0x00, 0x00, 0x41, 0x0D, 0xBB, 0x86, 0xF4, 0x31, 0x7F, 0xFF,
                            0x88, 0xFF, 0x37, 0x47, 0x1A, 0xDB, 0x6A, 0xDF};
    std::vector<unsigned> bits;
    for (std::uint8_t byte : decisions)
        for (int i = 7; i >= 0; --i)
            bits.push_back((byte >> i) & 1u);
    MqEncoder enc;
    Bytes buffer(MqEncoder::BufferBytes(bits.size()));
    const Bytes out = Code(enc, buffer, bits);
    ASSERT_GE(out.size(), expected.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + expected.size()), expected);
    EXPECT_NE(out.back(), 0xFF) << "a code word never ends in 0xFF";
}

// Skewed random decisions over several contexts, so that long MPS runs, carries
// into 0xFF bytes and bit stuffing all occur: no code word may contain a marker.
TEST(MqCoder, CodeWordsNeverHoldAMarkerOrEndInFf) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        const int count = std::uniform_int_distribution<int>(1, 4000)(rng);
        std::vector<MqContext> contexts(std::uniform_int_distribution<int>(1, 19)(rng));
        contexts[0].state = 4; // the initial state of the block coder's special contexts
        const double bias = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
        Bytes buffer(MqEncoder::BufferBytes(count));
        MqEncoder enc;
        enc.Start(buffer.data());
        for (int i = 0; i < count; ++i) {
            const std::size_t cx = rng() % contexts.size();
            enc.Encode(contexts[cx], std::bernoulli_distribution(cx % 2 ? bias : 1 - bias)(rng));
        }
        const Bytes out = Finish(enc);
        ASSERT_FALSE(out.empty());
        EXPECT_NE(out.back(), 0xFF) << "trial " << trial;
        for (std::size_t i = 0; i + 1 < out.size(); ++i)
            ASSERT_FALSE(out[i] == 0xFF && out[i + 1] > 0x8F) << "marker at " << i;
    }
}

TEST(MqCoder, ABufferServesOneCodeWordAfterAnother) {
    std::vector<unsigned> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(i % 3 == 0);
    MqEncoder enc, fresh;
    Bytes buffer(MqEncoder::BufferBytes(many.size())), freshBuffer(MqEncoder::BufferBytes(2));
    const Bytes longWord = Code(enc, buffer, many);
    const Bytes shortWord = Code(enc, buffer, {1, 0});
    EXPECT_EQ(shortWord, Code(fresh, freshBuffer, {1, 0})) << "nothing of the long word is left";
    EXPECT_LT(shortWord.size(), longWord.size());
}
