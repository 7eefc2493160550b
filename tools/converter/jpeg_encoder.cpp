#include "jpeg_encoder.h"

#include "image_check.h"
#include "parallel.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace conv {

namespace {

constexpr std::uint8_t kLuminanceBase[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::uint8_t kChromaBase[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

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
constexpr std::uint16_t kStripeEnd = ((kAcChroma << 8) | 0x0F) << 6;
constexpr int kMaxRecordsPerBlock = 1 + 63 + 3 + 1; // DC, AC, zero runs, end of block

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

// Samples go through the transform in tiles of this many columns (a multiple
// of 16) and one MCU row high, so the planes stay in the first-level cache.
constexpr int kTile = 64;

// The AAN transform's output scale per frequency.
constexpr float kAan[8] = {1.0f, 1.387039845f, 1.306562965f, 1.175875602f,
                           1.0f, 0.785694958f, 0.541196100f, 0.275899379f};

// One-dimensional AAN forward DCT on eight vectors, four lines at a time.
inline void Dct8(__m128* v, int stride) {
    __m128 &p0 = v[0], &p1 = v[stride], &p2 = v[2 * stride], &p3 = v[3 * stride];
    __m128 &p4 = v[4 * stride], &p5 = v[5 * stride], &p6 = v[6 * stride], &p7 = v[7 * stride];
    const __m128 t0 = _mm_add_ps(p0, p7), t7 = _mm_sub_ps(p0, p7);
    const __m128 t1 = _mm_add_ps(p1, p6), t6 = _mm_sub_ps(p1, p6);
    const __m128 t2 = _mm_add_ps(p2, p5), t5 = _mm_sub_ps(p2, p5);
    const __m128 t3 = _mm_add_ps(p3, p4), t4 = _mm_sub_ps(p3, p4);

    const __m128 t10 = _mm_add_ps(t0, t3), t13 = _mm_sub_ps(t0, t3);
    const __m128 t11 = _mm_add_ps(t1, t2), t12 = _mm_sub_ps(t1, t2);
    p0 = _mm_add_ps(t10, t11);
    p4 = _mm_sub_ps(t10, t11);
    const __m128 z1 = _mm_mul_ps(_mm_add_ps(t12, t13), _mm_set1_ps(0.707106781f));
    p2 = _mm_add_ps(t13, z1);
    p6 = _mm_sub_ps(t13, z1);

    const __m128 s10 = _mm_add_ps(t4, t5), s11 = _mm_add_ps(t5, t6), s12 = _mm_add_ps(t6, t7);
    const __m128 z5 = _mm_mul_ps(_mm_sub_ps(s10, s12), _mm_set1_ps(0.382683433f));
    const __m128 z2 = _mm_add_ps(_mm_mul_ps(s10, _mm_set1_ps(0.541196100f)), z5);
    const __m128 z4 = _mm_add_ps(_mm_mul_ps(s12, _mm_set1_ps(1.306562965f)), z5);
    const __m128 z3 = _mm_mul_ps(s11, _mm_set1_ps(0.707106781f));
    const __m128 z11 = _mm_add_ps(t7, z3), z13 = _mm_sub_ps(t7, z3);
    p5 = _mm_add_ps(z13, z2);
    p3 = _mm_sub_ps(z13, z2);
    p1 = _mm_add_ps(z11, z4);
    p7 = _mm_sub_ps(z11, z4);
}

// Two-dimensional DCT of a block held as v[row * 2 + half]. The result comes
// out transposed: v[row * 2 + half] holds horizontal frequency `row` with the
// vertical frequencies 4 * half .. 4 * half + 3; the quantizer's tables are
// laid out the same way.
inline void ForwardDct(__m128* v) {
    Dct8(v, 2);
    Dct8(v + 1, 2);
    __m128 t[16];
    for (int r = 0; r < 8; r += 4)
        for (int h = 0; h < 2; ++h) {
            __m128 a = v[r * 2 + h], b = v[(r + 1) * 2 + h];
            __m128 c = v[(r + 2) * 2 + h], d = v[(r + 3) * 2 + h];
            _MM_TRANSPOSE4_PS(a, b, c, d);
            // Rows r..r+3 of columns 4h..4h+3 become rows 4h..4h+3 of columns r..r+3.
            t[(4 * h) * 2 + r / 4] = a;
            t[(4 * h + 1) * 2 + r / 4] = b;
            t[(4 * h + 2) * 2 + r / 4] = c;
            t[(4 * h + 3) * 2 + r / 4] = d;
        }
    Dct8(t, 2);
    Dct8(t + 1, 2);
    std::copy_n(t, 16, v);
}

// Zigzag position -> index in the transform's transposed output order, and
// per byte of a mask over that order, the same bits in zigzag positions.
struct ZigzagMap {
    std::uint8_t index[64];
    std::uint64_t bits[8][256];

    ZigzagMap() : bits{} {
        std::uint8_t position[64];
        const auto& order = ZigzagOrder();
        for (int k = 0; k < 64; ++k) {
            index[k] = static_cast<std::uint8_t>((order[k] % 8) * 8 + order[k] / 8);
            position[index[k]] = static_cast<std::uint8_t>(k);
        }
        for (int byte = 0; byte < 8; ++byte)
            for (int value = 0; value < 256; ++value)
                for (int bit = 0; bit < 8; ++bit)
                    if (value >> bit & 1)
                        bits[byte][value] |= std::uint64_t{1} << position[byte * 8 + bit];
    }
};

// Per component class: 1 / (quantizer * AAN scales * 8) in the transform's
// transposed output order.
struct Quantizer {
    alignas(16) float divisors[64];

    explicit Quantizer(const std::array<std::uint16_t, 64>& quant) {
        for (int m = 0; m < 64; ++m) {
            const int vertical = m % 8, horizontal = m / 8;
            divisors[m] = 1.0f / (quant[vertical * 8 + horizontal] * kAan[vertical] *
                                  kAan[horizontal] * 8.0f);
        }
    }

    // Transforms and quantizes a block of samples into `coefficients`
    // (transposed order); returns which are nonzero, as bits in zigzag order.
    std::uint64_t Transform(__m128* v, const ZigzagMap& zigzag, std::int16_t* coefficients) const {
        // Nearly flat blocks, common in screenshots (grey text has no colour),
        // have only a DC value: samples within 1/64 of each other leave every
        // AC value below a quarter, which rounds to 0 for any quantizer.
        __m128 low = v[0], high = v[0];
        for (int i = 1; i < 16; ++i) {
            low = _mm_min_ps(low, v[i]);
            high = _mm_max_ps(high, v[i]);
        }
        // Largest minus smallest over all lanes.
        high = _mm_max_ps(high, _mm_movehl_ps(high, high));
        low = _mm_min_ps(low, _mm_movehl_ps(low, low));
        high = _mm_max_ss(high, _mm_shuffle_ps(high, high, 1));
        low = _mm_min_ss(low, _mm_shuffle_ps(low, low, 1));
        if (_mm_cvtss_f32(_mm_sub_ss(high, low)) <= 1.0f / 64) {
            __m128 sum = v[0];
            for (int i = 1; i < 16; ++i)
                sum = _mm_add_ps(sum, v[i]);
            sum = _mm_add_ps(sum, _mm_movehl_ps(sum, sum));
            sum = _mm_add_ss(sum, _mm_shuffle_ps(sum, sum, 1));
            const int dc = _mm_cvtss_si32(_mm_mul_ss(sum, _mm_load_ss(divisors)));
            coefficients[0] = static_cast<std::int16_t>(std::clamp(dc, -1023, 1023));
            return 1;
        }
        ForwardDct(v);
        return Apply(v, zigzag, coefficients);
    }

    // Quantizes a transformed block in place of `coefficients` (transposed
    // order); returns which are nonzero, as bits in zigzag order.
    std::uint64_t Apply(const __m128* v, const ZigzagMap& zigzag,
                        std::int16_t* coefficients) const {
        // Baseline AC values have at most 10 bits; DC values kept to the same
        // range leave every DC difference within 11.
        const __m128i limit = _mm_set1_epi16(1023);
        const __m128i zero = _mm_setzero_si128();
        std::uint64_t nonzero = 0;
        for (int i = 0; i < 8; i += 2) {
            __m128i packed[2];
            for (int j = 0; j < 2; ++j) {
                const float* d = divisors + 8 * (i + j);
                const __m128i lo = _mm_cvtps_epi32(_mm_mul_ps(v[2 * (i + j)], _mm_load_ps(d)));
                const __m128i hi =
                    _mm_cvtps_epi32(_mm_mul_ps(v[2 * (i + j) + 1], _mm_load_ps(d + 4)));
                packed[j] = _mm_max_epi16(_mm_min_epi16(_mm_packs_epi32(lo, hi), limit),
                                          _mm_sub_epi16(zero, limit));
                _mm_store_si128(reinterpret_cast<__m128i*>(coefficients + 8 * (i + j)), packed[j]);
            }
            const int isZero = _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(packed[0], zero),
                                                                 _mm_cmpeq_epi16(packed[1], zero)));
            const unsigned mask = ~static_cast<unsigned>(isZero);
            nonzero |= zigzag.bits[i][mask & 0xFF] | zigzag.bits[i + 1][(mask >> 8) & 0xFF];
        }
        return nonzero;
    }
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

// Code and length per symbol of the four tables, derived the canonical way.
// Each entry is the code already shifted past the symbol's extra bits (bits
// 5-31) and the length of both (bits 0-4): one lookup per symbol.
struct HuffmanCodes {
    std::array<std::uint32_t, 4 * 256> entry{};

    void Set(int table, const HuffmanSpec& spec) {
        unsigned next = 0;
        std::size_t k = 0;
        for (int len = 1; len <= 16; ++len) {
            for (int i = 0; i < spec.counts[len - 1]; ++i, ++k) {
                const int size = spec.symbols[k] & 15;
                entry[table * 256 + spec.symbols[k]] = ((next++ << size) << 5) | (len + size);
            }
            next <<= 1;
        }
    }
};

// The entropy-coded segment: bits most significant first, 0xFF followed by a stuffed 0.
class BitWriter {
public:
    // `expected`: about the bytes the segment takes; more is found if needed.
    BitWriter(std::vector<std::uint8_t>& out, std::size_t expected) : out_(out) {
        out_.resize(expected + 64);
    }
    void Put(std::uint32_t bits, int count) { // 1 <= count <= 27
        buffer_ = (buffer_ << count) | bits;
        filled_ += count;
        if (out_.size() - size_ < 16)
            out_.resize(out_.size() * 2);
        // Every whole byte goes out at once, by one unaligned store, unless
        // one of them is 0xFF and needs its stuffed zero.
        const std::uint64_t top = buffer_ << (64 - filled_);
        const int bytes = filled_ >> 3;
        const std::uint64_t inverted = ~top;
        const std::uint64_t ones = 0x0101010101010101u;
        if (((inverted - ones) & ~inverted & (ones << 7) & ~(~std::uint64_t{0} >> (8 * bytes))) ==
            0) {
            const std::uint64_t bigEndian = __builtin_bswap64(top);
            std::memcpy(out_.data() + size_, &bigEndian, 8);
            size_ += static_cast<std::size_t>(bytes);
        } else {
            for (int i = 0; i < bytes; ++i) {
                out_[size_++] = static_cast<std::uint8_t>(top >> (56 - 8 * i));
                if (out_[size_ - 1] == 0xFF)
                    out_[size_++] = 0;
            }
        }
        filled_ &= 7;
    }
    // Pads the last byte with one bits and appends a marker when asked.
    void Flush(int marker = -1) {
        if (const int pad = (8 - filled_ % 8) % 8)
            Put((1u << pad) - 1, pad);
        if (marker >= 0) {
            out_[size_++] = 0xFF;
            out_[size_++] = static_cast<std::uint8_t>(marker);
        }
    }
    void Finish() {
        Flush();
        out_.resize(size_);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t size_ = 0;
    std::uint64_t buffer_ = 0;
    int filled_ = 0;
};

// Loads an 8x8 block of a float plane (row stride `stride`) into vectors.
inline void LoadBlock(const float* p, int stride, __m128* v) {
    for (int r = 0; r < 8; ++r, p += stride) {
        v[2 * r] = _mm_loadu_ps(p);
        v[2 * r + 1] = _mm_loadu_ps(p + 4);
    }
}

// Averages 16x16 samples into an 8x8 block, for 4:2:0 chroma.
inline void LoadHalvedBlock(const float* p, int stride, __m128* v) {
    alignas(16) float block[64];
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) {
            const float* q = p + 2 * j * stride + 2 * i;
            block[j * 8 + i] = 0.25f * (q[0] + q[1] + q[stride] + q[stride + 1]);
        }
    LoadBlock(block, 8, v);
}

// Splits 16 RGB pixels into 16 reds, 16 greens and 16 blues: four rounds of
// interleaving the three registers' halves sort the bytes by colour.
inline void SplitSixteen(const std::uint8_t* pixels, std::uint8_t* r, std::uint8_t* g,
                         std::uint8_t* b) {
    __m128i x0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 16));
    __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 32));
    for (int round = 0; round < 4; ++round) {
        const __m128i y0 = _mm_unpackhi_epi8(_mm_slli_si128(x0, 8), x1);
        const __m128i y1 = _mm_unpacklo_epi8(_mm_srli_si128(x0, 8), x2);
        const __m128i y2 = _mm_unpackhi_epi8(_mm_slli_si128(x1, 8), x2);
        x0 = y0;
        x1 = y1;
        x2 = y2;
    }
    _mm_store_si128(reinterpret_cast<__m128i*>(r), x0);
    _mm_store_si128(reinterpret_cast<__m128i*>(g), x1);
    _mm_store_si128(reinterpret_cast<__m128i*>(b), x2);
}

// Converts 8 RGB samples (bytes) to level-shifted Y, Cb, Cr floats.
inline void ConvertEight(const std::uint8_t* r, const std::uint8_t* g, const std::uint8_t* b,
                         float* y, float* cb, float* cr) {
    const __m128i zero = _mm_setzero_si128();
    const auto floats = [&](const std::uint8_t* p, __m128& lo, __m128& hi) {
        const __m128i w =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
        lo = _mm_cvtepi32_ps(_mm_unpacklo_epi16(w, zero));
        hi = _mm_cvtepi32_ps(_mm_unpackhi_epi16(w, zero));
    };
    __m128 rv[2], gv[2], bv[2];
    floats(r, rv[0], rv[1]);
    floats(g, gv[0], gv[1]);
    floats(b, bv[0], bv[1]);
    const auto mix = [&](int h, float kr, float kg, float kb) {
        return _mm_add_ps(
            _mm_add_ps(_mm_mul_ps(rv[h], _mm_set1_ps(kr)), _mm_mul_ps(gv[h], _mm_set1_ps(kg))),
            _mm_mul_ps(bv[h], _mm_set1_ps(kb)));
    };
    for (int h = 0; h < 2; ++h) {
        _mm_storeu_ps(y + 4 * h, _mm_sub_ps(mix(h, 0.299f, 0.587f, 0.114f), _mm_set1_ps(128.0f)));
        _mm_storeu_ps(cb + 4 * h, mix(h, -0.168736f, -0.331264f, 0.5f));
        _mm_storeu_ps(cr + 4 * h, mix(h, 0.5f, -0.418688f, -0.081312f));
    }
}

// Converts columns tileX .. tileX + tileWidth - 1 (a multiple of 8) of `rows`
// picture rows from `top` on into level-shifted Y, Cb, Cr planes of row stride
// kTile. Pixels past the right or bottom edge repeat the edge's.
void ConvertTile(const PixelRows& image, int top, int rows, int tileX, int tileWidth,
                 float (*planes)[16 * kTile]) {
    alignas(16) std::uint8_t rgb[3][kTile];
    std::uint8_t* const order[3] = {rgb[image.bgr ? 2 : 0], rgb[1], rgb[image.bgr ? 0 : 2]};
    for (int j = 0; j < rows; ++j) {
        const std::uint8_t* row = image.row(std::min(top + j, image.height - 1));
        int i = 0;
        for (; tileX + i + 16 <= image.width && i < tileWidth; i += 16)
            SplitSixteen(row + 3 * (tileX + i), order[0] + i, order[1] + i, order[2] + i);
        for (; i < tileWidth; ++i) {
            const std::uint8_t* p = row + 3 * std::min(tileX + i, image.width - 1);
            order[0][i] = p[0];
            order[1][i] = p[1];
            order[2][i] = p[2];
        }
        for (int i = 0; i < tileWidth; i += 8)
            ConvertEight(rgb[0] + i, rgb[1] + i, rgb[2] + i, planes[0] + j * kTile + i,
                         planes[1] + j * kTile + i, planes[2] + j * kTile + i);
    }
}

void PutMarker(std::vector<std::uint8_t>& out, std::uint8_t marker, std::size_t length) {
    out.push_back(0xFF);
    out.push_back(marker);
    out.push_back(static_cast<std::uint8_t>((length + 2) >> 8));
    out.push_back(static_cast<std::uint8_t>(length + 2));
}

void PutHuffmanTable(std::vector<std::uint8_t>& out, int classAndId, const HuffmanSpec& spec) {
    PutMarker(out, 0xC4, 1 + 16 + spec.symbols.size());
    out.push_back(static_cast<std::uint8_t>(classAndId));
    out.insert(out.end(), spec.counts.begin(), spec.counts.end());
    out.insert(out.end(), spec.symbols.begin(), spec.symbols.end());
}

} // namespace

const std::array<std::uint8_t, 64>& ZigzagOrder() {
    static const std::array<std::uint8_t, 64> order = [] {
        std::array<std::uint8_t, 64> o{};
        int r = 0, c = 0;
        for (int k = 0; k < 64; ++k) {
            o[k] = static_cast<std::uint8_t>(r * 8 + c);
            if ((r + c) % 2 == 0) { // moving up and to the right
                if (c == 7)
                    ++r;
                else if (r == 0)
                    ++c;
                else {
                    --r;
                    ++c;
                }
            } else {
                if (r == 7)
                    ++c;
                else if (c == 0)
                    ++r;
                else {
                    ++r;
                    --c;
                }
            }
        }
        return o;
    }();
    return order;
}

HuffmanSpec OptimalHuffman(const std::array<std::uint32_t, 256>& frequencies) {
    // Code lengths by repeatedly joining the two rarest subtrees. A reserved
    // symbol of count 1 takes the longest code, so no code is all ones.
    std::array<std::uint64_t, 257> freq{};
    std::copy(frequencies.begin(), frequencies.end(), freq.begin());
    freq[256] = 1;
    std::array<int, 257> codeSize{};
    std::array<int, 257> next; // the next symbol of the same subtree
    next.fill(-1);
    for (;;) {
        int v1 = -1, v2 = -1; // rarest, then second rarest; ties to the larger symbol
        for (int v = 0; v <= 256; ++v)
            if (freq[v] && (v1 < 0 || freq[v] <= freq[v1]))
                v1 = v;
        for (int v = 0; v <= 256; ++v)
            if (freq[v] && v != v1 && (v2 < 0 || freq[v] <= freq[v2]))
                v2 = v;
        if (v2 < 0)
            break;
        freq[v1] += freq[v2];
        freq[v2] = 0;
        for (++codeSize[v1]; next[v1] >= 0; ++codeSize[v1])
            v1 = next[v1];
        next[v1] = v2;
        for (++codeSize[v2]; next[v2] >= 0; ++codeSize[v2])
            v2 = next[v2];
    }
    std::array<int, 258> bits{}; // codes per length, up to the deepest possible tree
    for (int v = 0; v <= 256; ++v)
        if (codeSize[v])
            ++bits[codeSize[v]];
    // Baseline codes are at most 16 bits: a pair at a deep level becomes one
    // code a level up and one a level below the deepest shorter prefix.
    for (int i = 257; i > 16; --i)
        while (bits[i] > 0) {
            int j = i - 2;
            while (bits[j] == 0)
                --j;
            bits[i] -= 2;
            ++bits[i - 1];
            bits[j + 1] += 2;
            --bits[j];
        }
    int longest = 16;
    while (bits[longest] == 0)
        --longest;
    --bits[longest]; // the reserved symbol's code
    HuffmanSpec spec{};
    for (int len = 1; len <= 16; ++len)
        spec.counts[len - 1] = static_cast<std::uint8_t>(bits[len]);
    // Shorter codes first; among equally long ones the more frequent first, so
    // that where the cut to 16 bits changes lengths it lengthens the rarer.
    for (int v = 0; v < 256; ++v)
        if (codeSize[v])
            spec.symbols.push_back(static_cast<std::uint8_t>(v));
    std::stable_sort(spec.symbols.begin(), spec.symbols.end(), [&](int a, int b) {
        return codeSize[a] != codeSize[b] ? codeSize[a] < codeSize[b]
                                          : frequencies[a] > frequencies[b];
    });
    return spec;
}

std::array<std::uint16_t, 64> QuantTable(bool chroma, int quality) {
    quality = std::clamp(quality, 1, 100);
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<std::uint16_t, 64> table{};
    const std::uint8_t* base = chroma ? kChromaBase : kLuminanceBase;
    for (int i = 0; i < 64; ++i)
        table[i] = static_cast<std::uint16_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
    return table;
}

bool EncodeJpeg(const Image& image, const JpegOptions& options, std::vector<std::uint8_t>& out,
                std::string& error) {
    return CheckImage(image, error) && EncodeJpegRows(RowsOf(image), options, out, error);
}

bool EncodeJpegRows(const PixelRows& image, const JpegOptions& options,
                    std::vector<std::uint8_t>& out, std::string& error) {
    if (image.width > kMaxJpegSide || image.height > kMaxJpegSide) {
        error = "picture too large for JPEG decoders (over 65500 pixels a side)";
        return false;
    }
    const int w = image.width, h = image.height;
    const int factor = options.subsampleChroma ? 2 : 1; // luma samples per chroma sample
    const int mcuSize = 8 * factor;
    const int mcuColumns = (w + mcuSize - 1) / mcuSize;
    const int mcuRows = (h + mcuSize - 1) / mcuSize;
    const auto lumaQuant = QuantTable(false, options.quality);
    const auto chromaQuant = QuantTable(true, options.quality);
    const Quantizer lumaQuantizer(lumaQuant), chromaQuantizer(chromaQuant);
    static const ZigzagMap zigzagMap;

    // Every stripe of MCU rows is a restart interval, so bands of stripes are
    // coded in parallel, each from its own records, and joined with restart
    // markers. A stripe is one row unless rows are so short that the markers
    // and fresh DC values would weigh on a thin picture.
    const int rowsPerStripe = std::max(1, 64 / mcuColumns);
    const int stripes = (mcuRows + rowsPerStripe - 1) / rowsPerStripe;
    const int threads = ThreadCount(options.threads, stripes);
    const int bands = threads == 1 ? 1 : std::min(stripes, 4 * threads);
    const auto bandStart = [&](int b) {
        return static_cast<int>(static_cast<long long>(stripes) * b / bands);
    };
    std::vector<RecordList> records(bands);
    std::vector<Histogram> counts(bands);

    ForEachPiece(bands, threads, [&](int band) {
        RecordList& list = records[band];
        Histogram& histogram = counts[band];
        histogram = {};
        alignas(16) float planes[3][16 * kTile];
        alignas(16) std::int16_t coefficients[64];
        __m128 v[16];
        for (int stripe = bandStart(band); stripe < bandStart(band + 1); ++stripe) {
            int dcY = 0, dcCb = 0, dcCr = 0;
            const int stripeEnd = std::min(mcuRows, (stripe + 1) * rowsPerStripe);
            for (int my = stripe * rowsPerStripe; my < stripeEnd; ++my) {
                for (int tileX = 0; tileX < mcuColumns * mcuSize; tileX += kTile) {
                    const int tileWidth = std::min(kTile, mcuColumns * mcuSize - tileX);
                    ConvertTile(image, my * mcuSize, mcuSize, tileX, tileWidth, planes);
                    for (int x0 = 0; x0 < tileWidth; x0 += mcuSize) {
                        RecordCursor out = list.Room(6 * kMaxRecordsPerBlock);
                        for (int by = 0; by < factor; ++by)
                            for (int bx = 0; bx < factor; ++bx) {
                                // A block wholly outside the picture (only at 4:2:0)
                                // is coded flat, at the previous block's level.
                                std::uint64_t nonzero = 1;
                                if (tileX + x0 + bx * 8 >= w || my * mcuSize + by * 8 >= h) {
                                    coefficients[0] = static_cast<std::int16_t>(dcY);
                                } else {
                                    LoadBlock(planes[0] + by * 8 * kTile + x0 + bx * 8, kTile, v);
                                    nonzero = lumaQuantizer.Transform(v, zigzagMap, coefficients);
                                }
                                BlockRecords(coefficients, nonzero, zigzagMap, dcY, kDcLuma, out,
                                             histogram);
                            }
                        for (int c = 1; c <= 2; ++c) {
                            if (factor == 1)
                                LoadBlock(planes[c] + x0, kTile, v);
                            else
                                LoadHalvedBlock(planes[c] + x0, kTile, v);
                            const std::uint64_t nonzero =
                                chromaQuantizer.Transform(v, zigzagMap, coefficients);
                            BlockRecords(coefficients, nonzero, zigzagMap, c == 1 ? dcCb : dcCr,
                                         kDcChroma, out, histogram);
                        }
                        list.Written(out);
                    }
                }
            }
            RecordCursor end = list.Room(1);
            *end.records++ = kStripeEnd;
            list.Written(end);
        }
    });

    HuffmanSpec specs[4];
    HuffmanCodes codes;
    for (int t = 0; t < 4; ++t) {
        std::array<std::uint32_t, 256> total{};
        for (const Histogram& histogram : counts)
            for (int s = 0; s < 256; ++s)
                total[s] += histogram[t][s];
        specs[t] = OptimalHuffman(total);
        codes.Set(t, specs[t]);
    }

    std::vector<std::vector<std::uint8_t>> coded(bands);
    ForEachPiece(bands, threads, [&](int band) {
        std::uint64_t expectedBits = 0;
        for (int t = 0; t < 4; ++t)
            for (int s = 0; s < 256; ++s)
                expectedBits += std::uint64_t{counts[band][t][s]} * (codes.entry[t * 256 + s] & 31);
        // Stuffed bytes follow one byte in 256 of random data; restarts add a few.
        BitWriter bits(coded[band],
                       expectedBits / 8 + expectedBits / 1024 +
                           8 * static_cast<std::size_t>(bandStart(band + 1) - bandStart(band)));
        int stripe = bandStart(band);
        records[band].ForEachChunk(
            [&](const std::uint16_t* p, const std::uint16_t* end, const std::uint16_t* extras) {
                while (p < end) {
                    const std::uint16_t record = *p++;
                    if (record == kStripeEnd) {
                        ++stripe;
                        // Restart markers count 0..7 between stripes; none after the last.
                        bits.Flush(stripe < stripes ? 0xD0 + (stripe - 1) % 8 : -1);
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
        bits.Finish();
        records[band] = RecordList();
    });

    out.assign({0xFF, 0xD8}); // start of image
    PutMarker(out, 0xE0, 14); // JFIF 1.01, 96 dots per inch
    out.insert(out.end(), {'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 96, 0, 96, 0, 0});
    const auto& zigzag = ZigzagOrder();
    for (int t = 0; t < 2; ++t) {
        const auto& q = t == 0 ? lumaQuant : chromaQuant;
        PutMarker(out, 0xDB, 65);
        out.push_back(static_cast<std::uint8_t>(t));
        for (int k = 0; k < 64; ++k)
            out.push_back(static_cast<std::uint8_t>(q[zigzag[k]]));
    }
    PutMarker(out, 0xC0, 6 + 3 * 3); // baseline frame
    out.push_back(8);
    out.insert(out.end(), {static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h),
                           static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w), 3});
    const auto sampling = static_cast<std::uint8_t>((factor << 4) | factor);
    out.insert(out.end(), {1, sampling, 0, 2, 0x11, 1, 3, 0x11, 1});
    PutHuffmanTable(out, 0x00, specs[kDcLuma]);
    PutHuffmanTable(out, 0x10, specs[kAcLuma]);
    PutHuffmanTable(out, 0x01, specs[kDcChroma]);
    PutHuffmanTable(out, 0x11, specs[kAcChroma]);
    PutMarker(out, 0xDD, 2); // the restart interval: one stripe's MCUs
    const int interval = rowsPerStripe * mcuColumns;
    out.insert(out.end(),
               {static_cast<std::uint8_t>(interval >> 8), static_cast<std::uint8_t>(interval)});
    PutMarker(out, 0xDA, 1 + 3 * 2 + 3); // start of scan
    out.insert(out.end(), {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0});

    std::size_t total = out.size() + 2;
    for (const auto& band : coded)
        total += band.size();
    out.reserve(total);
    for (auto& band : coded) {
        out.insert(out.end(), band.begin(), band.end());
        std::vector<std::uint8_t>().swap(band);
    }
    out.insert(out.end(), {0xFF, 0xD9}); // end of image
    return true;
}

} // namespace conv
