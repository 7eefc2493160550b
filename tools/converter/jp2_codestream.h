// The codestream around the packets: main header (SIZ, COD, QCD), one tile-part
// and the end marker, for a three-component 8-bit lossless picture in one tile.
#pragma once

#include <cstdint>
#include <vector>

namespace conv {

struct CodestreamParameters {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 3;
    int levels = 0;    // wavelet decomposition levels
    int guardBits = 2; // guard bits of the quantisation header
    bool colourTransform = true;
    // Exponent per subband in the order LL, then HL, LH, HH from the coarsest level down.
    std::vector<int> exponents;
};

void AppendBigEndian16(std::vector<std::uint8_t>& out, std::uint32_t value);
void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value);

// Builds the whole codestream from the packet bytes, which are in the stream's order.
std::vector<std::uint8_t> BuildCodestream(const CodestreamParameters& params,
                                          const std::vector<std::uint8_t>& packets);

} // namespace conv
