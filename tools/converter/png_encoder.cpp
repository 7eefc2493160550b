#include "png_encoder.h"

#include "image_check.h"
#include "parallel.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace conv {

namespace {

constexpr std::size_t kMaxChunk = 1 << 20;

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4], const std::uint8_t* data,
              std::size_t size) {
    PutBe32(out, static_cast<std::uint32_t>(size));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0)
        out.insert(out.end(), data, data + size);
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(size + 4));
    PutBe32(out, static_cast<std::uint32_t>(crc));
}

// Written without branches so the row loop vectorizes: p - a = b - c, p - b = a - c.
inline int Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    const int bc = pb <= pc ? b : c;
    return (pa <= pb && pa <= pc) ? a : bc;
}

// Sum of the filtered bytes read as signed magnitudes: min(v, 256 - v).
std::uint64_t Cost(const std::uint8_t* f, std::size_t n) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t v = f[i];
        sum += std::min<std::uint8_t>(v, static_cast<std::uint8_t>(-v));
    }
    return sum;
}

// Filters one row with each of the five filters and keeps the one whose bytes,
// read as signed, sum smallest: the usual heuristic, good on screenshots and photos.
// Each filter is its own simple loop so the compiler can vectorize it.
void FilterRow(const std::uint8_t* row, const std::uint8_t* prev, std::size_t bytes,
               std::vector<std::uint8_t>& scratch, std::uint8_t* out) {
    constexpr std::size_t bpp = 3;
    scratch.resize(5 * bytes);
    std::uint8_t* f[5];
    for (int t = 0; t < 5; ++t)
        f[t] = scratch.data() + t * bytes;

    std::memcpy(f[0], row, bytes);
    for (std::size_t i = 0; i < bpp; ++i)
        f[1][i] = row[i];
    for (std::size_t i = bpp; i < bytes; ++i)
        f[1][i] = static_cast<std::uint8_t>(row[i] - row[i - bpp]);
    int candidates = 2;
    if (prev) {
        candidates = 5;
        for (std::size_t i = 0; i < bytes; ++i)
            f[2][i] = static_cast<std::uint8_t>(row[i] - prev[i]);
        for (std::size_t i = 0; i < bpp; ++i)
            f[3][i] = static_cast<std::uint8_t>(row[i] - (prev[i] >> 1));
        for (std::size_t i = bpp; i < bytes; ++i)
            f[3][i] = static_cast<std::uint8_t>(row[i] - ((row[i - bpp] + prev[i]) >> 1));
        for (std::size_t i = 0; i < bpp; ++i)
            f[4][i] = static_cast<std::uint8_t>(row[i] - prev[i]);
        for (std::size_t i = bpp; i < bytes; ++i)
            f[4][i] =
                static_cast<std::uint8_t>(row[i] - Paeth(row[i - bpp], prev[i], prev[i - bpp]));
    }
    // Without a previous row, Up equals None, Average is half of Sub and Paeth equals Sub.
    std::uint64_t best = UINT64_MAX;
    int bestType = 0;
    for (int t = 0; t < candidates; ++t) {
        const std::uint64_t cost = Cost(f[t], bytes);
        if (cost < best) {
            best = cost;
            bestType = t;
        }
    }
    out[0] = static_cast<std::uint8_t>(bestType);
    std::memcpy(out + 1, f[bestType], bytes);
}

// One band of rows, deflated on its own. Every band but the last ends on a byte
// boundary with a sync flush, so the bands concatenate into one valid stream.
struct Band {
    int firstRow = 0;
    int rows = 0;
    std::vector<std::uint8_t> deflated;
    uLong adler = 1;
    std::size_t rawSize = 0;
    bool ok = false;
};

// Deflates a sample from the middle of the band quickly; when it barely shrinks,
// the whole band is taken for incompressible.
bool LooksIncompressible(const std::vector<std::uint8_t>& raw) {
    constexpr std::size_t kSample = 32 * 1024;
    if (raw.size() < 4 * kSample)
        return false;
    const std::uint8_t* sample = raw.data() + raw.size() / 2 - kSample / 2;
    std::vector<std::uint8_t> out(compressBound(kSample));
    uLongf outSize = static_cast<uLongf>(out.size());
    if (compress2(out.data(), &outSize, sample, kSample, 1) != Z_OK)
        return false;
    return outSize > kSample - kSample / 16;
}

void CompressBand(const PixelRows& image, int level, bool last, Band& band) {
    const std::size_t bytes = static_cast<std::size_t>(image.width) * 3;
    std::vector<std::uint8_t> raw(band.rows * (bytes + 1));
    std::vector<std::uint8_t> scratch;
    // Blue-first rows are turned around once each: the previous row's copy is kept.
    std::vector<std::uint8_t> copies(image.bgr ? 2 * bytes : 0);
    std::uint8_t* current = copies.data();
    std::uint8_t* previous = image.bgr ? current + bytes : nullptr;
    const std::uint8_t* prev =
        band.firstRow > 0 ? RgbRow(image, band.firstRow - 1, previous) : nullptr;
    for (int r = 0; r < band.rows; ++r) {
        const std::uint8_t* row = RgbRow(image, band.firstRow + r, current);
        FilterRow(row, prev, bytes, scratch, raw.data() + r * (bytes + 1));
        prev = row;
        std::swap(current, previous);
    }
    band.rawSize = raw.size();
    band.adler = adler32(1L, raw.data(), static_cast<uInt>(raw.size()));

    z_stream z{};
    if (level > 0 && LooksIncompressible(raw))
        level = 0; // noise-like rows: searching for matches only costs time
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    band.deflated.resize(deflateBound(&z, static_cast<uLong>(raw.size())) + 64);
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = band.deflated.data();
    z.avail_out = static_cast<uInt>(band.deflated.size());
    const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    band.ok = last ? result == Z_STREAM_END : (result == Z_OK && z.avail_in == 0);
    band.deflated.resize(z.total_out);
    // Every band waits for the others with its output: keep only what it holds,
    // not the worst-case room, or the bands together hold the picture once more.
    band.deflated.shrink_to_fit();
    deflateEnd(&z);
}

} // namespace

bool EncodePng(const Image& image, const PngOptions& options, std::vector<std::uint8_t>& out,
               std::string& error) {
    return CheckImage(image, error) && EncodePngRows(RowsOf(image), options, out, error);
}

bool EncodePngRows(const PixelRows& image, const PngOptions& options,
                   std::vector<std::uint8_t>& out, std::string& error) {
    const int level = std::clamp(options.level, 0, 9);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3 + 1;

    // Bands of at least a few hundred kilobytes keep the cost of the restarts small.
    const int rowsPerBand =
        std::max(1, static_cast<int>(std::max<std::size_t>(1, (std::size_t{1} << 19) / rowBytes)));
    const int bandCount = (image.height + rowsPerBand - 1) / rowsPerBand;
    std::vector<Band> bands(bandCount);
    for (int i = 0; i < bandCount; ++i) {
        bands[i].firstRow = i * rowsPerBand;
        bands[i].rows = std::min(rowsPerBand, image.height - bands[i].firstRow);
    }
    ForEachPiece(bandCount, ThreadCount(options.threads, bandCount),
                 [&](int i) { CompressBand(image, level, i == bandCount - 1, bands[i]); });

    std::vector<std::uint8_t> stream = {0x78, 0x5E}; // deflate, 32K window; check bits valid
    uLong adler = 1;
    for (const Band& band : bands) {
        if (!band.ok) {
            error = "compression failed";
            return false;
        }
        stream.insert(stream.end(), band.deflated.begin(), band.deflated.end());
        adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawSize));
    }
    PutBe32(stream, static_cast<std::uint32_t>(adler));

    out.assign({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    std::uint8_t header[13];
    const auto w = static_cast<std::uint32_t>(image.width);
    const auto h = static_cast<std::uint32_t>(image.height);
    for (int i = 0; i < 4; ++i) {
        header[i] = static_cast<std::uint8_t>(w >> (24 - 8 * i));
        header[4 + i] = static_cast<std::uint8_t>(h >> (24 - 8 * i));
    }
    header[8] = 8;  // bits per sample
    header[9] = 2;  // truecolour
    header[10] = 0; // deflate
    header[11] = 0; // adaptive filtering
    header[12] = 0; // not interlaced
    PutChunk(out, "IHDR", header, sizeof header);
    for (std::size_t at = 0; at < stream.size(); at += kMaxChunk)
        PutChunk(out, "IDAT", stream.data() + at, std::min(kMaxChunk, stream.size() - at));
    PutChunk(out, "IEND", nullptr, 0);
    return true;
}

} // namespace conv
