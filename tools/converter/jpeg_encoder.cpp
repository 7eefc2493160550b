#include "jpeg_encoder.h"

#include "image_check.h"
#include "jpeg_huffman.h"
#include "jpeg_records.h"
#include "jpeg_samples.h"
#include "jpeg_transform.h"
#include "parallel.h"

#include <emmintrin.h>

#include <algorithm>

namespace conv {

namespace {

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
            list.EndStripe();
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
        WriteRecords(records[band], codes, bits, [&] {
            ++stripe;
            // Restart markers count 0..7 between stripes; none after the last.
            bits.Flush(stripe < stripes ? 0xD0 + (stripe - 1) % 8 : -1);
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
