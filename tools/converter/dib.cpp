#include "dib.h"

#include "bmp_reader.h"
#include "image_check.h"

#include <stdexcept>

namespace conv {

namespace {

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}
std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

std::size_t DibPixelOffset(std::span<const std::uint8_t> dib) {
    if (dib.size() < 12)
        return 0;
    const std::uint32_t headerSize = U32(dib.data());
    if (headerSize == 12) {
        const int bits = U16(dib.data() + 10);
        const std::size_t offset = 12 + (bits <= 8 ? (std::size_t{3} << bits) : 0);
        return offset <= dib.size() ? offset : 0;
    }
    if (headerSize < 40 || headerSize > 1024 || dib.size() < headerSize)
        return 0;
    const int bits = U16(dib.data() + 14);
    const std::uint32_t compression = U32(dib.data() + 16);
    const std::uint32_t colorsUsed = U32(dib.data() + 32);
    std::size_t offset = headerSize;
    if (headerSize == 40 && compression == 3)
        offset += 12; // BI_BITFIELDS: three masks follow a plain header
    else if (headerSize == 40 && compression == 6)
        offset += 16; // BI_ALPHABITFIELDS: four masks
    std::size_t entries = 0;
    if (bits >= 1 && bits <= 8) {
        const std::size_t full = std::size_t{1} << bits;
        entries = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    } else if (colorsUsed <= 256) {
        entries = colorsUsed; // an optional palette before true-colour pixels
    }
    offset += 4 * entries;
    return offset <= dib.size() ? offset : 0;
}

bool DecodeDib(std::span<const std::uint8_t> dib, Image& out, std::string& error) {
    const std::size_t pixels = DibPixelOffset(dib);
    if (pixels == 0) {
        error = "unreadable bitmap header";
        return false;
    }
    // Give it the file header it lacks and read it like a file.
    std::vector<std::uint8_t> file(14 + dib.size());
    file[0] = 'B';
    file[1] = 'M';
    if (file.size() <= 0xFFFFFFFFu)
        Put32(file.data() + 2, static_cast<std::uint32_t>(file.size()));
    Put32(file.data() + 10, static_cast<std::uint32_t>(14 + pixels));
    std::copy(dib.begin(), dib.end(), file.begin() + 14);
    return DecodeBmp(file, out, error);
}

std::vector<std::uint8_t> EncodeDib32(const Image& image) {
    std::string error;
    if (!CheckImage(image, error))
        throw std::length_error(error);
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    std::vector<std::uint8_t> dib(40 + 4 * count, 0);
    Put32(dib.data(), 40);
    Put32(dib.data() + 4, static_cast<std::uint32_t>(image.width));
    Put32(dib.data() + 8, static_cast<std::uint32_t>(-image.height)); // top-down
    dib[12] = 1;                                                      // planes
    dib[14] = 32;                                                     // bits per pixel
    Put32(dib.data() + 20, static_cast<std::uint32_t>(4 * count));
    std::uint8_t* d = dib.data() + 40;
    const std::uint8_t* s = image.rgb.data();
    for (std::size_t i = 0; i < count; ++i, d += 4, s += 3) {
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
    }
    return dib;
}

} // namespace conv
