// The symbol records that carry a picture from the encoder's first pass to its
// second: blocks turned into Huffman symbols and extra bits, counted, and
// later written with the codes made from those counts.
#pragma once

#include "jpeg_huffman.h"
#include "jpeg_transform.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace conv {

// The four Huffman tables, as the symbol records below number them.
enum Table { kDcLuma, kAcLuma, kDcChroma, kAcChroma };
using Histogram = std::array<std::array<std::uint32_t, 256>, 4>;

// The picture is coded twice: the first pass turns every block into symbol
// records and counts the symbols, the second writes them with tables made
// for those counts. A record is 16 bits: the table and symbol (bits 6-15) and
// the extra bits that follow the symbol's code (as many as its low nibble)
// in bits 0-5 when they fit, else in a word of a second stream. With one word
// per record the reader's next load never waits for the last record's size.
// kStripeEnd (AC size 15, which no value has) ends a restart interval.
inline constexpr std::uint16_t kStripeEnd = ((kAcChroma << 8) | 0x0F) << 6;
inline constexpr int kMaxRecordsPerBlock = 1 + 63 + 3 + 1; // DC, AC, zero runs, end of block

// Where the next record and the next long extra bits go.
struct RecordCursor {
    std::uint16_t* records;
    std::uint16_t* extras;
};

// A band's records, in chunks so that growing never copies or touches twice.
class RecordList {
public:
    // Where to write at least `count` more records.
    RecordCursor Room(std::size_t count) {
        if (chunks_.empty() || kChunk - chunks_.back().records < count) {
            // A word to spare: the reader may look one past the last extra.
            chunks_.push_back({std::unique_ptr<std::uint16_t[]>(new std::uint16_t[kChunk]),
                               std::unique_ptr<std::uint16_t[]>(new std::uint16_t[kChunk + 1]), 0,
                               0});
        }
        Chunk& chunk = chunks_.back();
        return {chunk.words.get() + chunk.records, chunk.extraWords.get() + chunk.extras};
    }
    void Written(const RecordCursor& end) {
        Chunk& chunk = chunks_.back();
        chunk.records = static_cast<std::size_t>(end.records - chunk.words.get());
        chunk.extras = static_cast<std::size_t>(end.extras - chunk.extraWords.get());
    }
    // Ends a restart interval.
    void EndStripe() {
        RecordCursor end = Room(1);
        *end.records++ = kStripeEnd;
        Written(end);
    }
    // visit(records, end of records, extras) per chunk, in order.
    template <class Visit> void ForEachChunk(Visit visit) const {
        for (const Chunk& chunk : chunks_)
            visit(chunk.words.get(), chunk.words.get() + chunk.records, chunk.extraWords.get());
    }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 20;
    struct Chunk {
        std::unique_ptr<std::uint16_t[]> words;
        std::unique_ptr<std::uint16_t[]> extraWords;
        std::size_t records;
        std::size_t extras;
    };
    std::vector<Chunk> chunks_;
};

// Bit length of |value|: the size category of a coefficient or DC difference.
inline int Category(int value) {
    const unsigned v = static_cast<unsigned>(value < 0 ? -value : value);
    return v == 0 ? 0 : 32 - __builtin_clz(v);
}

// Turns one quantized block into records and counts its symbols.
inline void BlockRecords(const std::int16_t* coefficients, std::uint64_t nonzero,
                         const ZigzagMap& zigzag, int& previousDc, int dcTable, RecordCursor& out,
                         Histogram& counts) {
    const auto record = [&](int table, int symbol, int value) {
        ++counts[table][symbol];
        const int size = symbol & 15;
        const auto bits = static_cast<std::uint16_t>(
            static_cast<unsigned>(value < 0 ? value - 1 : value) & ((1u << size) - 1));
        const bool inline6 = size <= 6;
        *out.records++ =
            static_cast<std::uint16_t>((((table << 8) | symbol) << 6) | (inline6 ? bits : 0));
        *out.extras = bits;
        out.extras += !inline6;
    };
    const int diff = coefficients[0] - previousDc;
    previousDc = coefficients[0];
    record(dcTable, Category(diff), diff);

    // Runs of zeros are skipped whole, by the bit of the next nonzero value.
    nonzero &= ~std::uint64_t{1};
    const int acTable = dcTable + 1;
    int last = 0;
    while (nonzero) {
        const int k = __builtin_ctzll(nonzero);
        nonzero &= nonzero - 1;
        int run = k - last - 1;
        for (; run > 15; run -= 16)
            record(acTable, 0xF0, 0);
        const int v = coefficients[zigzag.index[k]];
        record(acTable, (run << 4) | Category(v), v);
        last = k;
    }
    if (last != 63)
        record(acTable, 0x00, 0);
}

// Writes a band's records with `codes`, calling stripeEnd() where a restart
// interval ends.
template <class StripeEnd>
void WriteRecords(const RecordList& list, const HuffmanCodes& codes, BitWriter& bits,
                  StripeEnd stripeEnd) {
    list.ForEachChunk(
        [&](const std::uint16_t* p, const std::uint16_t* end, const std::uint16_t* extras) {
            while (p < end) {
                const std::uint16_t record = *p++;
                if (record == kStripeEnd) {
                    stripeEnd();
                    continue;
                }
                const int symbol = record >> 6;
                const bool longExtra = (symbol & 15) > 6;
                const std::uint32_t extra = longExtra ? *extras : record & 63u;
                extras += longExtra;
                const std::uint32_t code = codes.entry[symbol];
                bits.Put((code >> 5) | extra, static_cast<int>(code & 31));
            }
        });
}

} // namespace conv
