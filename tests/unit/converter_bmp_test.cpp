#include "bmp_reader.h"
#include "bmp_writer.h"
#include "pictures.h"

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

// Every row padding, read back by our reader and by an outside decoder.
TEST(BmpRoundTrip, KeepsEveryPixelForAllRowPaddings) {
    for (int w : {1, 2, 3, 4, 5, 17}) {
        SCOPED_TRACE(w);
        const Image image = ScreenLikeImage(w, 7, static_cast<unsigned>(w));
        const Bytes file = EncodeBmp(image);
        ExpectSamePixels(image, Decode(file));
#ifndef _WIN32
        const auto decoded = DecodeWithImageMagick(file, "bmp");
        ASSERT_TRUE(decoded);
        ExpectSamePixels(image, *decoded);
#endif
    }
    EXPECT_THROW(EncodeBmp(Pixels(2, 2, {1, 2, 3})), std::length_error);
}

TEST(BmpReader, ReadsEveryDepthHeaderAndMaskLayout) {
    // Fields in order: header size, width, height, depth, compression, colours used,
    // masks, palette, pixel rows as stored.
    const struct {
        const char* what;
        BmpBuilder file;
        Image expected;
    } cases[] = {
        {"top-down 32-bit",
         {40, 2, -2, 32, 0, 0, {}, {}, {3, 2, 1, 0xFF, 6, 5, 4, 0xFF, 9, 8, 7, 0, 12, 11, 10, 0}},
         Pixels(2, 2, {0x010203, 0x040506, 0x070809, 0x0A0B0C})},
        {"top-down 32-bit, V5 header",
         {124, 1, -1, 32, 0, 0, {}, {}, {3, 2, 1, 0xFF}},
         Pixels(1, 1, {0x010203})},
        {"1-bit, a row of 10",
         {40, 10, 1, 1, 0, 0, {}, {0, 0xFFFFFF}, {0b10100000, 0b01000000, 0, 0}},
         Pixels(10, 1, {~0u, 0, ~0u, 0, 0, 0, 0, 0, 0, ~0u})},
        {"4-bit, bottom-up",
         {40,
          3,
          2,
          4,
          0,
          3,
          {},
          {0x112233, 0x445566, 0x778899},
          {0x01, 0x20, 0, 0, 0x22, 0x10, 0, 0}},
         Pixels(3, 2, {0x778899, 0x778899, 0x445566, 0x112233, 0x445566, 0x778899})},
        // An index past the palette reads as black instead of reading past it.
        {"8-bit index past the palette",
         {40, 2, 1, 8, 0, 1, {}, {0xABCDEF}, {0, 200, 0, 0}},
         Pixels(2, 1, {0xABCDEF, 0x000000})},
        {"16-bit 5-6-5 bit fields",
         {40, 2, 1, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}, {0x00, 0xF8, 0xE0, 0x07}},
         Pixels(2, 1, {0xFF0000, 0x00FF00})},
        {"16-bit 5-5-5 widened to the nearest 8-bit value",
         {40, 1, 1, 16, 0, 0, {}, {}, {0x10, 0x00, 0, 0}},
         Pixels(1, 1, {0x000084})},
        {"32-bit, red in the low byte, masks in a V4 header",
         {108, 1, 1, 32, 3, 0, {0x0000FF, 0x00FF00, 0xFF0000}, {}, {0x11, 0x22, 0x33, 0}},
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
        {"huge", {40, 0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 0, {}, {}, {1, 2, 3}}},
        {"INT32_MIN height", {40, 2, INT32_MIN}},
        {"negative width", {40, -4, 2}},
        {"offset past the end", {40, 2, 2, 24, 0, 0, {}, {}, Bytes(16), 0xFFFFFFF0}},
        {"offset into the header", {40, 2, 2, 24, 0, 0, {}, {}, Bytes(16), 20}},
        {"run-length", {40, 2, 2, 8, 1, 0, {}, {}, Bytes(8)}},
        {"mask with a gap", {40, 2, 2, 16, 3, 0, {0xF00F, 0x0F00, 0x00F0}, {}, Bytes(8)}},
        {"truncated pixels", {40, 100, 100, 24, 0, 0, {}, {}, Bytes(100 * 300 - 1)}},
        {"truncated palette", {40, 2, 2, 8, 0, 256, {}, {0, 0}, Bytes(8)}},
    };
    for (const auto& [what, file] : cases) {
        SCOPED_TRACE(what);
        DecodeError(file.Build());
    }
    Bytes hugeHeader = BmpBuilder{}.Build();
    hugeHeader[17] = 0x80; // a header of over 2 GB
    DecodeError(hugeHeader);
    DecodeError({'P', 'K', 3, 4});
}
