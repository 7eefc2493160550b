#include "bmp_reader.h"
#include "bmp_writer.h"
#include "converter_test_support.h"

#include <gtest/gtest.h>

using namespace conv;
using namespace conv::testing;

namespace {

// Builds a bitmap file by hand, field by field, so the reader is checked
// against the format rather than against our own writer.
struct BmpBuilder {
    std::uint32_t headerSize = 40;
    std::int32_t width = 2, height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0, colorsUsed = 0;
    std::vector<std::uint32_t> masks{};         // after a 40-byte header, or inside V4/V5
    std::vector<std::uint32_t> palette{};       // 0x00RRGGBB
    Bytes pixels{};                             // rows exactly as stored
    std::optional<std::uint32_t> pixelOffset{}; // default: right after the palette

    Bytes Build() const {
        Bytes f(14 + headerSize, 0);
        auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
            for (int b = 0; b < bytes; ++b)
                f[at + b] = static_cast<std::uint8_t>(v >> (8 * b));
        };
        auto append = [&](std::uint32_t v) { f.insert(f.end(), 4, 0), put(f.size() - 4, v, 4); };
        f[0] = 'B';
        f[1] = 'M';
        put(14, headerSize, 4);
        put(18, static_cast<std::uint32_t>(width), 4);
        put(22, static_cast<std::uint32_t>(height), 4);
        put(26, 1, 2); // planes
        put(28, bitCount, 2);
        put(30, compression, 4);
        put(46, colorsUsed, 4);
        for (std::size_t i = 0; i < masks.size(); ++i)
            headerSize >= 52 ? put(54 + 4 * i, masks[i], 4) : append(masks[i]);
        for (std::uint32_t c : palette)
            append(c);
        put(10, pixelOffset.value_or(static_cast<std::uint32_t>(f.size())), 4);
        f.insert(f.end(), pixels.begin(), pixels.end());
        put(2, static_cast<std::uint32_t>(f.size()), 4);
        return f;
    }
};

Image Pixels(int w, int h, std::initializer_list<std::uint32_t> colours) {
    Image image{w, h, {}};
    for (std::uint32_t c : colours)
        image.rgb.insert(image.rgb.end(),
                         {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                          static_cast<std::uint8_t>(c)});
    return image;
}

Image Decode(const Bytes& file) {
    Image image;
    std::string error;
    EXPECT_TRUE(DecodeBmp(file, image, error)) << error;
    return image;
}

std::string DecodeError(const Bytes& file) {
    Image image;
    std::string error;
    EXPECT_FALSE(DecodeBmp(file, image, error));
    EXPECT_FALSE(error.empty());
    return error;
}

} // namespace

TEST(BmpWriter, WritesBottomUpRowsPaddedToFourBytesAndRefusesBadBuffers) {
    const Bytes f = EncodeBmp(Pixels(3, 2, {1, 2, 3, 0x0A0B0C, 0x0D0E0F, 0x101112}));
    ASSERT_EQ(f.size(), 54u + 2 * 12);
    EXPECT_EQ(Le16(f, 0), 0x4D42u) << "BM";
    EXPECT_EQ(Le32(f, 2), f.size());
    EXPECT_EQ(f[10], 54);
    EXPECT_EQ(f[28], 24);
    // The first stored row is the picture's bottom row, in B G R order, then padding.
    EXPECT_EQ(Bytes(f.begin() + 54, f.begin() + 66),
              (Bytes{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11, 0x10, 0, 0, 0}));

    EXPECT_THROW(EncodeBmp(Pixels(2, 2, {1, 2, 3})), std::length_error);
    EXPECT_THROW(EncodeBmp(Image{}), std::length_error);
}

TEST(BmpRoundTrip, KeepsEveryPixelForAllRowPaddings) {
    for (int w : {1, 2, 3, 4, 5, 17}) {
        const Image image = ScreenLikeImage(w, 7, static_cast<unsigned>(w));
        ExpectSamePixels(image, Decode(EncodeBmp(image)));
    }
}

TEST(BmpReader, ReadsEveryDepthHeaderAndMaskLayout) {
    const struct {
        const char* what;
        BmpBuilder file;
        Image expected;
    } cases[] = {
        {"top-down 32-bit, 40-byte header",
         {.height = -2,
          .bitCount = 32,
          .pixels = {3, 2, 1, 0xFF, 6, 5, 4, 0xFF, 9, 8, 7, 0, 12, 11, 10, 0}},
         Pixels(2, 2, {0x010203, 0x040506, 0x070809, 0x0A0B0C})},
        {"top-down 32-bit, V5 header",
         {.headerSize = 124, .width = 1, .height = -1, .bitCount = 32, .pixels = {3, 2, 1, 0xFF}},
         Pixels(1, 1, {0x010203})},
        {"1-bit, a row of 10",
         {.width = 10,
          .height = 1,
          .bitCount = 1,
          .palette = {0x000000, 0xFFFFFF},
          .pixels = {0b10100000, 0b01000000, 0, 0}},
         Pixels(10, 1, {~0u, 0, ~0u, 0, 0, 0, 0, 0, 0, ~0u})},
        {"4-bit, bottom-up",
         {.width = 3,
          .bitCount = 4,
          .colorsUsed = 3,
          .palette = {0x112233, 0x445566, 0x778899},
          .pixels = {0x01, 0x20, 0, 0, 0x22, 0x10, 0, 0}},
         Pixels(3, 2, {0x778899, 0x778899, 0x445566, 0x112233, 0x445566, 0x778899})},
        // An index past the palette reads as black instead of reading past it.
        {"8-bit index past the palette",
         {.height = 1,
          .bitCount = 8,
          .colorsUsed = 1,
          .palette = {0xABCDEF},
          .pixels = {0, 200, 0, 0}},
         Pixels(2, 1, {0xABCDEF, 0x000000})},
        {"16-bit 5-6-5 bit fields",
         {.height = 1,
          .bitCount = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = {0x00, 0xF8, 0xE0, 0x07}},
         Pixels(2, 1, {0xFF0000, 0x00FF00})},
        {"16-bit without fields is 5-5-5, widened to the nearest 8-bit value",
         {.width = 1, .height = 1, .bitCount = 16, .pixels = {0x10, 0x00, 0, 0}},
         Pixels(1, 1, {0x000084})},
        {"32-bit, red in the low byte, masks in a V4 header",
         {.headerSize = 108,
          .width = 1,
          .height = 1,
          .bitCount = 32,
          .compression = 3,
          .masks = {0x0000FF, 0x00FF00, 0xFF0000},
          .pixels = {0x11, 0x22, 0x33, 0}},
         Pixels(1, 1, {0x112233})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectSamePixels(c.expected, Decode(c.file.Build()));
    }
}

TEST(BmpReader, ReadsTheOldCoreHeaderWithItsThreeBytePalette) {
    // 14-byte file header, 12-byte core header (16-bit sizes), palette of RGBTRIPLEs.
    Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0, 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0};
    f.insert(f.end(), {0x33, 0x22, 0x11, 0x66, 0x55, 0x44}); // two palette entries, B G R
    f.insert(f.end(), {0b01000000, 0, 0, 0});                // pixels 0 and 1
    ExpectSamePixels(Pixels(2, 1, {0x112233, 0x445566}), Decode(f));
    f[24] = 32; // a depth the core header never had
    DecodeError(f);
}

TEST(BmpReader, RejectsHostileHeadersWithoutAllocatingOrReading) {
    const std::pair<const char*, BmpBuilder> cases[] = {
        {"huge", {.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .pixels = {1, 2, 3}}},
        {"INT32_MIN height", {.height = INT32_MIN}},
        {"negative width", {.width = -4}},
        {"offset past the end", {.pixels = Bytes(16), .pixelOffset = 0xFFFFFFF0}},
        {"offset into the header", {.pixels = Bytes(16), .pixelOffset = 20}},
        {"run-length", {.bitCount = 8, .compression = 1, .pixels = Bytes(8)}},
        {"mask with a gap",
         {.bitCount = 16, .compression = 3, .masks = {0xF00F, 0x0F00, 0x00F0}, .pixels = Bytes(8)}},
    };
    for (const auto& [what, file] : cases) {
        SCOPED_TRACE(what);
        DecodeError(file.Build());
    }
    Bytes hugeHeader = BmpBuilder{}.Build();
    hugeHeader[17] = 0x80; // a header of over 2 GB
    DecodeError(hugeHeader);
    EXPECT_EQ(DecodeError(
                  BmpBuilder{.width = 100, .height = 100, .pixels = Bytes(100 * 300 - 1)}.Build()),
              "bitmap pixel data is truncated");
    EXPECT_EQ(DecodeError(BmpBuilder{
                  .bitCount = 8, .colorsUsed = 256, .palette = {0, 0}, .pixels = Bytes(8)}
                              .Build()),
              "bitmap palette is truncated");
    DecodeError({});
    DecodeError({'B', 'M'});
    DecodeError({'P', 'K', 3, 4});
}

// Random corruption is the bitmap fuzz target's job; every cut-off file is checked here.
TEST(BmpReader, RefusesEveryTruncation) {
    const Bytes good = EncodeBmp(ScreenLikeImage(9, 5));
    Image image;
    std::string error;
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DecodeBmp(std::span(good.data(), n), image, error)) << "length " << n;
}
