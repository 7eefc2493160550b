#include "jpeg_encoder.h"

#include "image_check.h"
#include "parallel.h"

#include <algorithm>
#include <cmath>

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

const HuffmanSpec kDcLuminance{{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0},
                               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const HuffmanSpec kDcChroma{{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0},
                            {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const HuffmanSpec kAcLuminance{
    {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
    {0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
     0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
     0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
     0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
     0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
     0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
     0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
     0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
     0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
     0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
     0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};
const HuffmanSpec kAcChroma{
    {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77},
    {0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
     0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
     0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
     0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44,
     0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63,
     0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
     0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
     0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4,
     0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca,
     0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7,
     0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};

// Code and length per symbol, derived from a table the canonical way.
struct HuffmanCodes {
    std::array<std::uint16_t, 256> code{};
    std::array<std::uint8_t, 256> length{};

    explicit HuffmanCodes(const HuffmanSpec& spec) {
        unsigned next = 0;
        std::size_t k = 0;
        for (int len = 1; len <= 16; ++len) {
            for (int i = 0; i < spec.counts[len - 1]; ++i, ++k) {
                code[spec.symbols[k]] = static_cast<std::uint16_t>(next++);
                length[spec.symbols[k]] = static_cast<std::uint8_t>(len);
            }
            next <<= 1;
        }
    }
};

// The entropy-coded segment: bits most significant first, 0xFF followed by a stuffed 0.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Put(std::uint32_t bits, int count) {
        buffer_ = (buffer_ << count) | (bits & ((1u << count) - 1));
        filled_ += count;
        while (filled_ >= 8) {
            filled_ -= 8;
            const auto byte = static_cast<std::uint8_t>(buffer_ >> filled_);
            out_.push_back(byte);
            if (byte == 0xFF)
                out_.push_back(0);
        }
    }
    void Finish() {
        if (filled_ > 0)
            Put(0x7F, 8 - filled_); // pad with one bits
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t buffer_ = 0;
    int filled_ = 0;
};

// Separable AAN forward DCT on one 8x8 block of level-shifted samples; the
// scale factors it leaves in the output are folded into the quantizer.
void ForwardDct(float* d) {
    for (int pass = 0; pass < 2; ++pass) {
        const int step = pass == 0 ? 1 : 8;
        const int stride = pass == 0 ? 8 : 1;
        for (int line = 0; line < 8; ++line) {
            float* p = d + line * stride;
            const float t0 = p[0] + p[7 * step], t7 = p[0] - p[7 * step];
            const float t1 = p[step] + p[6 * step], t6 = p[step] - p[6 * step];
            const float t2 = p[2 * step] + p[5 * step], t5 = p[2 * step] - p[5 * step];
            const float t3 = p[3 * step] + p[4 * step], t4 = p[3 * step] - p[4 * step];

            float t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;
            p[0] = t10 + t11;
            p[4 * step] = t10 - t11;
            const float z1 = (t12 + t13) * 0.707106781f;
            p[2 * step] = t13 + z1;
            p[6 * step] = t13 - z1;

            t10 = t4 + t5;
            t11 = t5 + t6;
            t12 = t6 + t7;
            const float z5 = (t10 - t12) * 0.382683433f;
            const float z2 = 0.541196100f * t10 + z5;
            const float z4 = 1.306562965f * t12 + z5;
            const float z3 = t11 * 0.707106781f;
            const float z11 = t7 + z3, z13 = t7 - z3;
            p[5 * step] = z13 + z2;
            p[3 * step] = z13 - z2;
            p[step] = z11 + z4;
            p[7 * step] = z11 - z4;
        }
    }
}

// 1 / (quantizer * AAN scale of row * AAN scale of column * 8), natural order.
std::array<float, 64> Divisors(const std::array<std::uint16_t, 64>& quant) {
    static const double kAan[8] = {1.0, 1.387039845, 1.306562965, 1.175875602,
                                   1.0, 0.785694958, 0.541196100, 0.275899379};
    std::array<float, 64> d{};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            d[r * 8 + c] = static_cast<float>(1.0 / (quant[r * 8 + c] * kAan[r] * kAan[c] * 8.0));
    return d;
}

void QuantizeBlock(const float* block, const std::array<float, 64>& divisors, std::int16_t* out) {
    const auto& zigzag = ZigzagOrder();
    for (int k = 0; k < 64; ++k) {
        const int n = zigzag[k];
        // Baseline allows DC values of 11 bits and AC values of 10 bits.
        const float limit = k == 0 ? 2047.0f : 1023.0f;
        const float v = std::clamp(block[n] * divisors[n], -limit, limit);
        out[k] = static_cast<std::int16_t>(v < 0 ? v - 0.5f : v + 0.5f);
    }
}

int Category(int value) {
    unsigned v = static_cast<unsigned>(value < 0 ? -value : value);
    int bits = 0;
    while (v) {
        ++bits;
        v >>= 1;
    }
    return bits;
}

void EncodeBlock(const std::int16_t* zz, int& previousDc, const HuffmanCodes& dc,
                 const HuffmanCodes& ac, BitWriter& bits) {
    const int diff = zz[0] - previousDc;
    previousDc = zz[0];
    int size = Category(diff);
    bits.Put(dc.code[size], dc.length[size]);
    if (size)
        bits.Put(static_cast<std::uint32_t>(diff < 0 ? diff - 1 : diff), size);
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int v = zz[k];
        if (v == 0) {
            ++run;
            continue;
        }
        while (run > 15) {
            bits.Put(ac.code[0xF0], ac.length[0xF0]);
            run -= 16;
        }
        size = Category(v);
        const int symbol = (run << 4) | size;
        bits.Put(ac.code[symbol], ac.length[symbol]);
        bits.Put(static_cast<std::uint32_t>(v < 0 ? v - 1 : v), size);
        run = 0;
    }
    if (run > 0)
        bits.Put(ac.code[0x00], ac.length[0x00]);
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

const HuffmanSpec& StandardHuffman(bool ac, bool chroma) {
    if (ac)
        return chroma ? kAcChroma : kAcLuminance;
    return chroma ? kDcChroma : kDcLuminance;
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
    if (!CheckImage(image, error))
        return false;
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
    const auto lumaDivisors = Divisors(lumaQuant);
    const auto chromaDivisors = Divisors(chromaQuant);

    const HuffmanCodes dcLuma(kDcLuminance), acLuma(kAcLuminance);
    const HuffmanCodes dcChroma(kDcChroma), acChroma(kAcChroma);

    // Every MCU row is its own restart interval, so the rows are converted,
    // transformed and entropy-coded in parallel and joined with restart markers.
    std::vector<std::vector<std::uint8_t>> rows(mcuRows);
    const int paddedWidth = mcuColumns * mcuSize;
    ForEachPiece(mcuRows, ThreadCount(options.threads, mcuRows), [&](int my) {
        // The MCU row's samples as YCbCr planes, padded by repeating the last pixel.
        std::vector<float> planes[3];
        for (auto& plane : planes)
            plane.resize(static_cast<std::size_t>(paddedWidth) * mcuSize);
        for (int j = 0; j < mcuSize; ++j) {
            const std::uint8_t* p = image.pixel(0, std::min(my * mcuSize + j, h - 1));
            float* y = planes[0].data() + j * paddedWidth;
            float* cb = planes[1].data() + j * paddedWidth;
            float* cr = planes[2].data() + j * paddedWidth;
            for (int x = 0; x < w; ++x, p += 3) {
                const float r = p[0], g = p[1], b = p[2];
                y[x] = 0.299f * r + 0.587f * g + 0.114f * b - 128.0f;
                cb[x] = -0.168736f * r - 0.331264f * g + 0.5f * b;
                cr[x] = 0.5f * r - 0.418688f * g - 0.081312f * b;
            }
            for (int x = w; x < paddedWidth; ++x) {
                y[x] = y[w - 1];
                cb[x] = cb[w - 1];
                cr[x] = cr[w - 1];
            }
        }
        float block[64];
        std::int16_t zz[6 * 64];
        int dcY = 0, dcCb = 0, dcCr = 0;
        BitWriter bits(rows[my]);
        for (int mx = 0; mx < mcuColumns; ++mx) {
            const int x0 = mx * mcuSize;
            std::int16_t* out = zz;
            for (int by = 0; by < factor; ++by)
                for (int bx = 0; bx < factor; ++bx) {
                    for (int j = 0; j < 8; ++j)
                        for (int i = 0; i < 8; ++i)
                            block[j * 8 + i] =
                                planes[0][(by * 8 + j) * paddedWidth + x0 + bx * 8 + i];
                    ForwardDct(block);
                    QuantizeBlock(block, lumaDivisors, out);
                    out += 64;
                }
            for (int c = 1; c <= 2; ++c) {
                const float* plane = planes[c].data();
                for (int j = 0; j < 8; ++j)
                    for (int i = 0; i < 8; ++i) {
                        float sum = 0;
                        for (int dj = 0; dj < factor; ++dj)
                            for (int di = 0; di < factor; ++di)
                                sum +=
                                    plane[(j * factor + dj) * paddedWidth + x0 + i * factor + di];
                        block[j * 8 + i] = sum / static_cast<float>(factor * factor);
                    }
                ForwardDct(block);
                QuantizeBlock(block, chromaDivisors, out);
                out += 64;
            }
            const std::int16_t* coded = zz;
            for (int b = 0; b < factor * factor; ++b, coded += 64)
                EncodeBlock(coded, dcY, dcLuma, acLuma, bits);
            EncodeBlock(coded, dcCb, dcChroma, acChroma, bits);
            EncodeBlock(coded + 64, dcCr, dcChroma, acChroma, bits);
        }
        bits.Finish();
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
    PutHuffmanTable(out, 0x00, kDcLuminance);
    PutHuffmanTable(out, 0x10, kAcLuminance);
    PutHuffmanTable(out, 0x01, kDcChroma);
    PutHuffmanTable(out, 0x11, kAcChroma);
    PutMarker(out, 0xDD, 2); // a restart interval of one MCU row
    out.insert(out.end(),
               {static_cast<std::uint8_t>(mcuColumns >> 8), static_cast<std::uint8_t>(mcuColumns)});
    PutMarker(out, 0xDA, 1 + 3 * 2 + 3); // start of scan
    out.insert(out.end(), {3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0});

    for (int my = 0; my < mcuRows; ++my) {
        if (my > 0)
            out.insert(out.end(), {0xFF, static_cast<std::uint8_t>(0xD0 + (my - 1) % 8)});
        out.insert(out.end(), rows[my].begin(), rows[my].end());
        std::vector<std::uint8_t>().swap(rows[my]);
    }
    out.insert(out.end(), {0xFF, 0xD9}); // end of image
    return true;
}

} // namespace conv
