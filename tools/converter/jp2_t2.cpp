#include "jp2_t2.h"

#include "jp2_tagtree.h"

#include <bit>
#include <climits>

namespace conv {

void PutPassCount(HeaderBitWriter& bits, int passes) {
    if (passes == 1) {
        bits.PutBit(0);
    } else if (passes == 2) {
        bits.PutBits(0b10, 2);
    } else if (passes <= 5) {
        bits.PutBits(0b11, 2);
        bits.PutBits(passes - 3, 2);
    } else if (passes <= 36) {
        bits.PutBits(0b1111, 4);
        bits.PutBits(passes - 6, 5);
    } else {
        bits.PutBits(0b111111111, 9);
        bits.PutBits(passes - 37, 7);
    }
}

void AppendPacket(const std::vector<PrecinctBand>& bands, std::vector<std::uint8_t>& out) {
    HeaderBitWriter bits(out);
    bool any = false;
    for (const PrecinctBand& pb : bands) {
        for (int by = pb.y0; by < pb.y1 && !any; ++by) {
            for (int bx = pb.x0; bx < pb.x1 && !any; ++bx) {
                any = pb.band->at(bx, by).passes > 0;
            }
        }
    }
    if (!any) {
        bits.PutBit(0); // empty packet
        bits.Flush();
        return;
    }
    bits.PutBit(1);
    for (const PrecinctBand& pb : bands) {
        const int w = pb.x1 - pb.x0;
        const int h = pb.y1 - pb.y0;
        if (w <= 0 || h <= 0) {
            continue;
        }
        TagTree inclusion(w, h);
        TagTree zeroPlanes(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const CodedBlock& b = pb.band->at(pb.x0 + x, pb.y0 + y);
                // The first (and only) layer is 0; blocks without passes never appear.
                inclusion.SetValue(x, y, b.passes > 0 ? 0 : 1);
                zeroPlanes.SetValue(x, y, pb.band->magnitudeBits - b.bitPlanes);
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const CodedBlock& b = pb.band->at(pb.x0 + x, pb.y0 + y);
                inclusion.Encode(bits, x, y, 1);
                if (b.passes == 0) {
                    continue;
                }
                zeroPlanes.Encode(bits, x, y, INT_MAX);
                PutPassCount(bits, b.passes);
                // Length in Lblock + floor(log2(passes)) bits; Lblock starts at 3 and
                // grows by one per leading 1 bit.
                const int passBits = std::bit_width(static_cast<unsigned>(b.passes)) - 1;
                const int needed = std::bit_width(static_cast<std::uint32_t>(b.data.size()));
                int lblock = 3;
                while (lblock + passBits < needed) {
                    bits.PutBit(1);
                    ++lblock;
                }
                bits.PutBit(0);
                bits.PutBits(static_cast<std::uint32_t>(b.data.size()), lblock + passBits);
            }
        }
    }
    bits.Flush();
    for (const PrecinctBand& pb : bands) {
        for (int by = pb.y0; by < pb.y1; ++by) {
            for (int bx = pb.x0; bx < pb.x1; ++bx) {
                const CodedBlock& b = pb.band->at(bx, by);
                out.insert(out.end(), b.data.begin(), b.data.end());
            }
        }
    }
}

} // namespace conv
