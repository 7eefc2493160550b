#include "bmp_reader.h"

#include "image_check.h"

#include <array>
#include <bit>

namespace conv {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

// One channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0; // largest value after shifting; 0 for an absent channel

    static Channel FromMask(std::uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0)
            return c;
        c.shift = std::countr_zero(mask);
        c.max = mask >> c.shift;
        return c;
    }
    std::uint8_t Read(std::uint32_t value) const {
        if (max == 0)
            return 0;
        const std::uint64_t v = (value & mask) >> shift;
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
    bool Contiguous() const { return mask == 0 || ((max + 1) & max) == 0; }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::array<Channel, 3> channels; // red, green, blue
    std::size_t paletteOffset = 0;
    std::size_t paletteEntries = 0;
    std::size_t paletteEntrySize = 4;
};

bool Fail(std::string& error, const char* why) {
    error = why;
    return false;
}

bool ReadHeader(std::span<const std::uint8_t> file, Layout& layout, std::string& error) {
    if (file.size() < kFileHeaderSize + 12 || file[0] != 'B' || file[1] != 'M')
        return Fail(error, "not a bitmap file");
    const std::uint8_t* info = file.data() + kFileHeaderSize;
    const std::uint32_t headerSize = U32(info);
    if (headerSize == 12) {
        layout.width = U16(info + 4);
        layout.height = U16(info + 6);
        layout.bitCount = U16(info + 10);
        layout.paletteEntrySize = 3;
        layout.paletteOffset = kFileHeaderSize + 12;
        if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 &&
            layout.bitCount != 24)
            return Fail(error, "unsupported bit depth");
        if (layout.bitCount <= 8)
            layout.paletteEntries = std::size_t{1} << layout.bitCount;
        return true;
    }
    if (headerSize < 40 || headerSize > 1024 || file.size() < kFileHeaderSize + headerSize)
        return Fail(error, "unsupported or truncated bitmap header");

    const auto width = static_cast<std::int32_t>(U32(info + 4));
    const auto height = static_cast<std::int32_t>(U32(info + 8));
    layout.width = width;
    // Widened before negating: -INT32_MIN does not fit 32 bits.
    layout.topDown = height < 0;
    layout.height = layout.topDown ? -std::int64_t{height} : std::int64_t{height};
    if (U16(info + 12) != 1)
        return Fail(error, "bitmap must have one plane");
    layout.bitCount = U16(info + 14);
    layout.compression = U32(info + 16);
    const std::uint32_t colorsUsed = U32(info + 32);

    std::size_t masksEnd = kFileHeaderSize + headerSize;
    std::uint32_t masks[3] = {0, 0, 0};
    if (layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields) {
        if (headerSize >= 52) {
            masks[0] = U32(info + 40);
            masks[1] = U32(info + 44);
            masks[2] = U32(info + 48);
        } else {
            // A plain info header is followed by the masks.
            const std::size_t count = layout.compression == kBiAlphaBitfields ? 4 : 3;
            if (file.size() < masksEnd + count * 4)
                return Fail(error, "truncated bit-field masks");
            for (int i = 0; i < 3; ++i)
                masks[i] = U32(file.data() + masksEnd + 4 * i);
            masksEnd += count * 4;
        }
    } else if (layout.compression == kBiRgb) {
        if (layout.bitCount == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else if (layout.bitCount == 24 || layout.bitCount == 32) {
            masks[0] = 0xFF0000;
            masks[1] = 0x00FF00;
            masks[2] = 0x0000FF;
        }
    } else {
        return Fail(error, "compressed bitmaps are not supported");
    }
    for (int i = 0; i < 3; ++i)
        layout.channels[i] = Channel::FromMask(masks[i]);

    layout.paletteOffset = masksEnd;
    if (layout.bitCount <= 8) {
        const std::size_t full = std::size_t{1} << layout.bitCount;
        layout.paletteEntries = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    }
    return true;
}

bool CheckLayout(const Layout& layout, std::string& error) {
    switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
        if (layout.compression != kBiRgb)
            return Fail(error, "paletted bitmaps cannot use bit fields");
        break;
    case 16:
    case 32:
        break;
    case 24:
        if (layout.compression != kBiRgb)
            return Fail(error, "24-bit bitmaps cannot use bit fields");
        break;
    default:
        return Fail(error, "unsupported bit depth");
    }
    for (const Channel& c : layout.channels) {
        if (!c.Contiguous())
            return Fail(error, "bit-field mask is not contiguous");
        if (layout.bitCount < 32 && layout.bitCount > 8 && (c.mask >> layout.bitCount) != 0)
            return Fail(error, "bit-field mask wider than the pixel");
    }
    if (layout.width <= 0 || layout.height <= 0)
        return Fail(error, "bitmap has no pixels");
    if (layout.width > kMaxImageSide || layout.height > kMaxImageSide ||
        layout.width * layout.height > kMaxImagePixels)
        return Fail(error, "bitmap dimensions too large");
    return true;
}

// Reads and checks the headers and finds the rows in the file.
bool Locate(std::span<const std::uint8_t> file, Layout& layout, std::uint32_t& pixelOffset,
            std::uint64_t& stride, std::string& error) {
    if (!ReadHeader(file, layout, error) || !CheckLayout(layout, error))
        return false;
    pixelOffset = U32(file.data() + 10);
    // Within the limits above this product stays far below 2^63.
    stride = ((static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32) * 4;
    const std::uint64_t needed = stride * static_cast<std::uint64_t>(layout.height);
    if (pixelOffset < layout.paletteOffset || pixelOffset > file.size() ||
        file.size() - pixelOffset < needed)
        return Fail(error, "bitmap pixel data is truncated");
    return true;
}

} // namespace

bool BmpRows(std::span<const std::uint8_t> file, PixelRows& rows) {
    Layout layout;
    std::uint32_t pixelOffset = 0;
    std::uint64_t stride = 0;
    std::string error;
    if (!Locate(file, layout, pixelOffset, stride, error) || layout.bitCount != 24)
        return false;
    const int height = static_cast<int>(layout.height);
    const std::uint8_t* first = file.data() + pixelOffset;
    rows = {static_cast<int>(layout.width), height,
            layout.topDown ? first : first + stride * (height - 1),
            layout.topDown ? static_cast<std::ptrdiff_t>(stride)
                           : -static_cast<std::ptrdiff_t>(stride),
            true};
    return true;
}

bool DecodeBmp(std::span<const std::uint8_t> file, Image& out, std::string& error) {
    Layout layout;
    std::uint32_t pixelOffset = 0;
    std::uint64_t stride = 0;
    if (!Locate(file, layout, pixelOffset, stride, error))
        return false;

    std::array<std::array<std::uint8_t, 3>, 256> palette{};
    if (layout.paletteEntries > 0) {
        const std::size_t bytes = layout.paletteEntries * layout.paletteEntrySize;
        if (pixelOffset - layout.paletteOffset < bytes)
            return Fail(error, "bitmap palette is truncated");
        for (std::size_t i = 0; i < layout.paletteEntries; ++i) {
            const std::uint8_t* e =
                file.data() + layout.paletteOffset + i * layout.paletteEntrySize;
            palette[i] = {e[2], e[1], e[0]};
        }
    }

    const int width = static_cast<int>(layout.width);
    const int height = static_cast<int>(layout.height);
    Image image;
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<std::size_t>(width) * height * 3);

    for (int y = 0; y < height; ++y) {
        const int fileRow = layout.topDown ? y : height - 1 - y;
        const std::uint8_t* row = file.data() + pixelOffset + stride * fileRow;
        std::uint8_t* dst = image.pixel(0, y);
        switch (layout.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = layout.bitCount;
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                const unsigned index = (row[x / perByte] >> shift) & mask;
                // Indices past the palette read as black (the table's unused entries).
                const auto& c = palette[index];
                dst[0] = c[0];
                dst[1] = c[1];
                dst[2] = c[2];
                dst += 3;
            }
            break;
        }
        case 24:
            SwapRedBlue(row, dst, width);
            break;
        case 16:
        case 32: {
            const bool wide = layout.bitCount == 32;
            const bool plain = wide && layout.channels[0].mask == 0xFF0000 &&
                               layout.channels[1].mask == 0xFF00 && layout.channels[2].mask == 0xFF;
            for (int x = 0; x < width; ++x, dst += 3) {
                if (plain) {
                    dst[0] = row[4 * x + 2];
                    dst[1] = row[4 * x + 1];
                    dst[2] = row[4 * x];
                    continue;
                }
                const std::uint32_t v = wide ? U32(row + 4 * x) : U16(row + 2 * x);
                dst[0] = layout.channels[0].Read(v);
                dst[1] = layout.channels[1].Read(v);
                dst[2] = layout.channels[2].Read(v);
            }
            break;
        }
        }
    }
    out = std::move(image);
    return true;
}

} // namespace conv
