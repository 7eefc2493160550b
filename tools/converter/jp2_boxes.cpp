#include "jp2_boxes.h"

#include "jp2_codestream.h"

namespace conv {

namespace {

void AppendType(std::vector<std::uint8_t>& out, const char (&type)[5]) {
    out.insert(out.end(), type, type + 4);
}

} // namespace

std::vector<std::uint8_t> WrapJp2(std::uint32_t width, std::uint32_t height, int components,
                                  const std::vector<std::uint8_t>& codestream) {
    std::vector<std::uint8_t> out;
    out.reserve(codestream.size() + 96);

    AppendBigEndian32(out, 12);
    AppendType(out, "jP  ");
    AppendBigEndian32(out, 0x0D0A870A);

    AppendBigEndian32(out, 20);
    AppendType(out, "ftyp");
    AppendType(out, "jp2 ");   // brand
    AppendBigEndian32(out, 0); // minor version
    AppendType(out, "jp2 ");   // compatibility list

    constexpr std::uint32_t kImageHeaderLength = 22;
    constexpr std::uint32_t kColourLength = 15;
    AppendBigEndian32(out, 8 + kImageHeaderLength + kColourLength);
    AppendType(out, "jp2h");

    AppendBigEndian32(out, kImageHeaderLength);
    AppendType(out, "ihdr");
    AppendBigEndian32(out, height);
    AppendBigEndian32(out, width);
    AppendBigEndian16(out, static_cast<std::uint32_t>(components));
    out.push_back(7); // 8 bits, unsigned
    out.push_back(7); // compression type: JPEG 2000
    out.push_back(0); // colour space known
    out.push_back(0); // no intellectual property box

    AppendBigEndian32(out, kColourLength);
    AppendType(out, "colr");
    out.push_back(1);                                  // enumerated colour space
    out.push_back(0);                                  // precedence
    out.push_back(0);                                  // approximation
    AppendBigEndian32(out, components == 1 ? 17 : 16); // greyscale or sRGB

    const std::uint64_t boxLength = 8 + codestream.size();
    if (boxLength > 0xFFFFFFFFu) {
        // Too long for the short length field: the extended length follows the type.
        AppendBigEndian32(out, 1);
        AppendType(out, "jp2c");
        AppendBigEndian32(out, static_cast<std::uint32_t>((boxLength + 8) >> 32));
        AppendBigEndian32(out, static_cast<std::uint32_t>(boxLength + 8));
    } else {
        AppendBigEndian32(out, static_cast<std::uint32_t>(boxLength));
        AppendType(out, "jp2c");
    }
    out.insert(out.end(), codestream.begin(), codestream.end());
    return out;
}

} // namespace conv
