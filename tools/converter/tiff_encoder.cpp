#include "tiff_encoder.h"

#include "image_check.h"
#include "parallel.h"

#include <algorithm>

namespace conv {

namespace {

constexpr unsigned kClear = 256;
constexpr unsigned kEndOfInformation = 257;
constexpr unsigned kFirstCode = 258;
constexpr std::size_t kStripTarget = 64 * 1024;

class MsbBitWriter {
public:
    explicit MsbBitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Put(unsigned code, int width) {
        bits_ = (bits_ << width) | code;
        count_ += width;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(bits_ >> count_));
        }
    }
    void Finish() {
        if (count_ > 0)
            out_.push_back(static_cast<std::uint8_t>(bits_ << (8 - count_)));
        count_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
};

enum Type : std::uint16_t { kShort = 3, kLong = 4, kRational = 5 };

struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::vector<std::uint32_t> values; // one per count; rationals as pairs
};

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Set32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::size_t ValueBytes(const Entry& e) {
    return e.type == kShort ? 2 * e.values.size() : 4 * e.values.size();
}

void PutValues(std::vector<std::uint8_t>& out, const Entry& e) {
    for (std::uint32_t v : e.values) {
        if (e.type == kShort)
            Put16(out, v);
        else
            Put32(out, v);
    }
}

// Writes the directory at the end of `out`; values longer than four bytes follow it.
void PutDirectory(std::vector<std::uint8_t>& out, const std::vector<Entry>& entries) {
    if (out.size() & 1)
        out.push_back(0); // the directory starts on a word boundary
    Set32(out, 4, static_cast<std::uint32_t>(out.size()));
    const std::size_t directorySize = 2 + entries.size() * 12 + 4;
    std::size_t extra = out.size() + directorySize;
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    std::vector<const Entry*> deferred;
    for (const Entry& e : entries) {
        Put16(out, e.tag);
        Put16(out, e.type);
        Put32(out, e.count);
        const std::size_t bytes = ValueBytes(e);
        if (bytes <= 4) {
            const std::size_t before = out.size();
            PutValues(out, e);
            while (out.size() < before + 4)
                out.push_back(0);
        } else {
            Put32(out, static_cast<std::uint32_t>(extra));
            extra += bytes;
            deferred.push_back(&e);
        }
    }
    Put32(out, 0); // no next directory
    for (const Entry* e : deferred)
        PutValues(out, *e);
}

} // namespace

std::vector<std::uint8_t> TiffLzw(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size / 2 + 16);
    MsbBitWriter writer(out);
    constexpr std::uint32_t kSlots = 1 << 13;
    std::vector<std::uint32_t> keys(kSlots); // (prefix << 8 | byte) + 1; 0 is empty
    std::vector<std::uint16_t> codes(kSlots);
    int width = 9;
    unsigned nextCode = kFirstCode;
    writer.Put(kClear, width);
    if (size > 0) {
        unsigned prefix = data[0];
        for (std::size_t i = 1; i < size; ++i) {
            const std::uint32_t key = ((prefix << 8) | data[i]) + 1;
            std::uint32_t slot = (key * 2654435761u) >> (32 - 13);
            while (keys[slot] != 0 && keys[slot] != key)
                slot = (slot + 1) & (kSlots - 1);
            if (keys[slot] == key) {
                prefix = codes[slot];
                continue;
            }
            writer.Put(prefix, width);
            keys[slot] = key;
            codes[slot] = static_cast<std::uint16_t>(nextCode++);
            if (nextCode == 4094) {
                // The decoder's table is full one code before ours: start afresh.
                writer.Put(kClear, width);
                std::fill(keys.begin(), keys.end(), 0);
                nextCode = kFirstCode;
                width = 9;
            } else if (nextCode >= (1u << width) && width < 12) {
                // TIFF widens one code earlier than GIF ("early change").
                ++width;
            }
            prefix = data[i];
        }
        writer.Put(prefix, width);
        // The end code is read after the decoder's table grew by one more entry.
        if (nextCode + 1 >= (1u << width) && width < 12)
            ++width;
    }
    writer.Put(kEndOfInformation, width);
    writer.Finish();
    return out;
}

bool EncodeTiff(const Image& image, const TiffOptions& options, std::vector<std::uint8_t>& out,
                std::string& error) {
    return CheckImage(image, error) && EncodeTiffRows(RowsOf(image), options, out, error);
}

bool EncodeTiffRows(const PixelRows& image, const TiffOptions& options,
                    std::vector<std::uint8_t>& out, [[maybe_unused]] std::string& error) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    const int rowsPerStrip =
        static_cast<int>(std::clamp<std::size_t>(kStripTarget / rowBytes, 1, image.height));
    const int stripCount = (image.height + rowsPerStrip - 1) / rowsPerStrip;
    bool lzw = options.compression == TiffCompression::Lzw;

    std::vector<std::vector<std::uint8_t>> strips(stripCount);
    if (lzw) {
        ForEachPiece(stripCount, ThreadCount(options.threads, stripCount), [&](int s) {
            const int first = s * rowsPerStrip;
            const int rows = std::min(rowsPerStrip, image.height - first);
            // Horizontal predictor: each sample minus the same sample one pixel left.
            std::vector<std::uint8_t> raw(rows * rowBytes);
            for (int r = 0; r < rows; ++r) {
                std::uint8_t* row = raw.data() + r * rowBytes;
                CopyRgbRow(image, first + r, row);
                for (std::size_t i = rowBytes - 1; i >= 3; --i)
                    row[i] = static_cast<std::uint8_t>(row[i] - row[i - 3]);
            }
            strips[s] = TiffLzw(raw.data(), raw.size());
            strips[s].shrink_to_fit(); // the strips wait for each other: no spare room
        });
        // LZW grows noise-like pictures by about a third; then plain strips are better.
        std::size_t compressed = 0;
        for (const auto& strip : strips)
            compressed += strip.size();
        if (compressed >= rowBytes * image.height) {
            lzw = false;
            std::vector<std::vector<std::uint8_t>>().swap(strips);
        }
    }

    out.assign({'I', 'I', 42, 0, 0, 0, 0, 0});
    std::vector<std::uint32_t> offsets(stripCount), counts(stripCount);
    for (int s = 0; s < stripCount; ++s) {
        offsets[s] = static_cast<std::uint32_t>(out.size());
        if (lzw) {
            out.insert(out.end(), strips[s].begin(), strips[s].end());
            std::vector<std::uint8_t>().swap(strips[s]);
        } else {
            const int first = s * rowsPerStrip;
            const int rows = std::min(rowsPerStrip, image.height - first);
            const std::size_t at = out.size();
            out.resize(at + rows * rowBytes);
            for (int r = 0; r < rows; ++r)
                CopyRgbRow(image, first + r, out.data() + at + r * rowBytes);
        }
        counts[s] = static_cast<std::uint32_t>(out.size() - offsets[s]);
    }
    const auto w = static_cast<std::uint32_t>(image.width);
    const auto h = static_cast<std::uint32_t>(image.height);
    const auto n = static_cast<std::uint32_t>(stripCount);
    std::vector<Entry> entries = {
        {256, kLong, 1, {w}},
        {257, kLong, 1, {h}},
        {258, kShort, 3, {8, 8, 8}},
        {259, kShort, 1, {lzw ? 5u : 1u}},
        {262, kShort, 1, {2}}, // RGB
        {273, kLong, n, offsets},
        {277, kShort, 1, {3}},
        {278, kLong, 1, {static_cast<std::uint32_t>(rowsPerStrip)}},
        {279, kLong, n, counts},
        {282, kRational, 1, {96, 1}},
        {283, kRational, 1, {96, 1}},
        {284, kShort, 1, {1}}, // chunky
        {296, kShort, 1, {2}}, // inches
    };
    if (lzw)
        entries.push_back({317, kShort, 1, {2}}); // horizontal differencing
    PutDirectory(out, entries);
    return true;
}

} // namespace conv
