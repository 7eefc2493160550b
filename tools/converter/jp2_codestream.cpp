#include "jp2_codestream.h"

namespace conv {

namespace {

constexpr std::uint16_t kSoc = 0xFF4F;
constexpr std::uint16_t kSiz = 0xFF51;
constexpr std::uint16_t kCod = 0xFF52;
constexpr std::uint16_t kQcd = 0xFF5C;
constexpr std::uint16_t kSot = 0xFF90;
constexpr std::uint16_t kSod = 0xFF93;
constexpr std::uint16_t kEoc = 0xFFD9;

constexpr int kCodeBlockExponent = 6; // 64 x 64 code-blocks

} // namespace

void AppendBigEndian16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    AppendBigEndian16(out, value >> 16);
    AppendBigEndian16(out, value & 0xFFFF);
}

std::vector<std::uint8_t> BuildCodestream(const CodestreamParameters& params,
                                          const std::vector<std::uint8_t>& packets) {
    std::vector<std::uint8_t> out;
    out.reserve(packets.size() + 256);
    AppendBigEndian16(out, kSoc);

    AppendBigEndian16(out, kSiz);
    AppendBigEndian16(out, 38 + 3 * params.components);
    AppendBigEndian16(out, 0); // capabilities: nothing beyond the baseline
    AppendBigEndian32(out, params.width);
    AppendBigEndian32(out, params.height);
    AppendBigEndian32(out, 0); // image origin
    AppendBigEndian32(out, 0);
    AppendBigEndian32(out, params.width); // one tile covers the picture
    AppendBigEndian32(out, params.height);
    AppendBigEndian32(out, 0); // tile origin
    AppendBigEndian32(out, 0);
    AppendBigEndian16(out, params.components);
    for (int c = 0; c < params.components; ++c) {
        out.push_back(7); // unsigned, 8 bits
        out.push_back(1); // no subsampling
        out.push_back(1);
    }

    AppendBigEndian16(out, kCod);
    AppendBigEndian16(out, 12);
    out.push_back(0);          // maximal precincts, no SOP or EPH markers
    out.push_back(0);          // layer-resolution-component-position order
    AppendBigEndian16(out, 1); // one quality layer
    out.push_back(params.colourTransform ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(params.levels));
    out.push_back(kCodeBlockExponent - 2);
    out.push_back(kCodeBlockExponent - 2);
    out.push_back(0); // plain block coding: one code word per block
    out.push_back(1); // reversible 5/3 wavelet

    AppendBigEndian16(out, kQcd);
    AppendBigEndian16(out, 3 + static_cast<std::uint32_t>(params.exponents.size()));
    out.push_back(static_cast<std::uint8_t>(params.guardBits << 5)); // no quantisation
    for (int e : params.exponents) {
        out.push_back(static_cast<std::uint8_t>(e << 3));
    }

    const std::uint64_t tilePartLength = 12 + 2 + packets.size();
    AppendBigEndian16(out, kSot);
    AppendBigEndian16(out, 10);
    AppendBigEndian16(out, 0); // tile 0
    // 0 means "up to the end of the codestream", allowed for the last tile-part.
    AppendBigEndian32(
        out, tilePartLength > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(tilePartLength));
    out.push_back(0); // tile-part 0
    out.push_back(1); // of one
    AppendBigEndian16(out, kSod);
    out.insert(out.end(), packets.begin(), packets.end());
    AppendBigEndian16(out, kEoc);
    return out;
}

} // namespace conv
