// Packets: the header (inclusion and zero-bit-plane tag trees, pass counts, code
// word lengths) and body for one precinct of one component and resolution, for
// a codestream with a single quality layer.
#pragma once

#include "jp2_t1.h"

#include <cstdint>
#include <vector>

namespace conv {

class HeaderBitWriter;

// A subband's coded blocks on their grid, row by row.
struct CodedBand {
    BandKind kind = BandKind::LL;
    int blocksX = 0;
    int blocksY = 0;
    int magnitudeBits = 0; // bit planes the quantisation header promises for this band
    std::vector<CodedBlock> blocks;

    const CodedBlock& at(int bx, int by) const { return blocks[by * blocksX + bx]; }
};

// The blocks [x0, x1) x [y0, y1) of one band that fall in a precinct.
struct PrecinctBand {
    const CodedBand* band = nullptr;
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

// Appends the packet of one precinct (its bands in order LL or HL, LH, HH).
void AppendPacket(const std::vector<PrecinctBand>& bands, std::vector<std::uint8_t>& out);

// The code word for a number of coding passes (1 .. 164).
void PutPassCount(HeaderBitWriter& bits, int passes);

} // namespace conv
