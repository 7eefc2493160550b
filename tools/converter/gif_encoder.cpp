#include "gif_encoder.h"

#include "image_check.h"

#include <algorithm>
#include <cstring>

namespace conv {

namespace {

using Colour = std::array<std::uint8_t, 3>;

std::uint32_t Pack(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

// Collects the distinct colours; gives up (returns false) at the 257th.
bool FewColours(const PixelRows& image, std::vector<std::uint32_t>& colours) {
    std::vector<std::uint64_t> seen((1u << 24) / 64, 0);
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* p = RgbRow(image, y, scratch.data());
        for (int x = 0; x < image.width; ++x, p += 3) {
            const std::uint32_t c = Pack(p);
            std::uint64_t& word = seen[c >> 6];
            const std::uint64_t bit = std::uint64_t{1} << (c & 63);
            if (word & bit)
                continue;
            word |= bit;
            if (colours.size() == 256)
                return false;
            colours.push_back(c);
        }
    }
    return true;
}

IndexedImage ExactIndexed(const PixelRows& image, std::vector<std::uint32_t> colours) {
    std::sort(colours.begin(), colours.end());
    IndexedImage result;
    for (std::uint32_t c : colours)
        result.palette.push_back({static_cast<std::uint8_t>(c >> 16),
                                  static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)});
    // A small open-addressing table from colour to index.
    constexpr std::uint32_t kSlots = 1024;
    std::vector<std::uint32_t> keys(kSlots, 0xFFFFFFFF);
    std::vector<std::uint8_t> values(kSlots, 0);
    auto slotOf = [&](std::uint32_t c) {
        std::uint32_t s = (c * 2654435761u) >> 22;
        while (keys[s] != 0xFFFFFFFF && keys[s] != c)
            s = (s + 1) & (kSlots - 1);
        return s;
    };
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::uint32_t s = slotOf(colours[i]);
        keys[s] = colours[i];
        values[s] = static_cast<std::uint8_t>(i);
    }
    result.indices.resize(static_cast<std::size_t>(image.width) * image.height);
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(image.width) * 3);
    std::uint8_t* index = result.indices.data();
    std::uint32_t last = 0xFFFFFFFF;
    std::uint8_t lastIndex = 0;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* p = RgbRow(image, y, scratch.data());
        for (int x = 0; x < image.width; ++x, p += 3) {
            const std::uint32_t c = Pack(p);
            if (c != last) {
                last = c;
                lastIndex = values[slotOf(c)];
            }
            *index++ = lastIndex;
        }
    }
    return result;
}

// Median cut over a 5-bit-per-channel histogram; each palette entry is the mean
// of the real colours that fell into its box, so flat areas keep their colour.
constexpr int kBits = 5;
constexpr int kSide = 1 << kBits;

struct Bin {
    std::uint64_t count = 0, r = 0, g = 0, b = 0;
};

struct Box {
    int lo[3], hi[3]; // inclusive bin coordinates
    std::uint64_t count = 0;
};

int BinIndex(int r, int g, int b) {
    return (r << (2 * kBits)) | (g << kBits) | b;
}

void Shrink(Box& box, const std::vector<Bin>& bins) {
    int lo[3] = {kSide, kSide, kSide}, hi[3] = {-1, -1, -1};
    std::uint64_t count = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const std::uint64_t c = bins[BinIndex(r, g, b)].count;
                if (c == 0)
                    continue;
                count += c;
                const int v[3] = {r, g, b};
                for (int k = 0; k < 3; ++k) {
                    lo[k] = std::min(lo[k], v[k]);
                    hi[k] = std::max(hi[k], v[k]);
                }
            }
    box.count = count;
    if (count == 0)
        return;
    std::copy(lo, lo + 3, box.lo);
    std::copy(hi, hi + 3, box.hi);
}

// Green counts most for the eye, blue least.
constexpr int kAxisWeight[3] = {3, 4, 2};

double Priority(const Box& box) {
    int longest = 0;
    for (int k = 0; k < 3; ++k)
        longest = std::max(longest, (box.hi[k] - box.lo[k]) * kAxisWeight[k]);
    return static_cast<double>(longest) * longest * static_cast<double>(box.count);
}

std::vector<Colour> MedianCut(const std::vector<Bin>& bins) {
    std::vector<Box> boxes(1);
    boxes[0] = Box{{0, 0, 0}, {kSide - 1, kSide - 1, kSide - 1}, 0};
    Shrink(boxes[0], bins);
    while (boxes.size() < 256) {
        int pick = -1;
        double best = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const double p = Priority(boxes[i]);
            if (p > best) {
                best = p;
                pick = static_cast<int>(i);
            }
        }
        if (pick < 0)
            break; // every box is a single bin
        Box box = boxes[pick];
        int axis = 0;
        for (int k = 1; k < 3; ++k)
            if ((box.hi[k] - box.lo[k]) * kAxisWeight[k] >
                (box.hi[axis] - box.lo[axis]) * kAxisWeight[axis])
                axis = k;
        // Weighted median along the axis.
        std::vector<std::uint64_t> slab(kSide, 0);
        for (int r = box.lo[0]; r <= box.hi[0]; ++r)
            for (int g = box.lo[1]; g <= box.hi[1]; ++g)
                for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                    const int v[3] = {r, g, b};
                    slab[v[axis]] += bins[BinIndex(r, g, b)].count;
                }
        std::uint64_t running = 0;
        int cut = box.lo[axis];
        for (int v = box.lo[axis]; v < box.hi[axis]; ++v) {
            running += slab[v];
            cut = v;
            if (running * 2 >= box.count)
                break;
        }
        Box low = box, high = box;
        low.hi[axis] = cut;
        high.lo[axis] = cut + 1;
        Shrink(low, bins);
        Shrink(high, bins);
        boxes[pick] = low;
        boxes.push_back(high);
    }
    std::vector<Colour> palette;
    for (const Box& box : boxes) {
        Bin sum;
        for (int r = box.lo[0]; r <= box.hi[0]; ++r)
            for (int g = box.lo[1]; g <= box.hi[1]; ++g)
                for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                    const Bin& bin = bins[BinIndex(r, g, b)];
                    sum.count += bin.count;
                    sum.r += bin.r;
                    sum.g += bin.g;
                    sum.b += bin.b;
                }
        if (sum.count == 0)
            continue;
        const std::uint64_t half = sum.count / 2;
        palette.push_back({static_cast<std::uint8_t>((sum.r + half) / sum.count),
                           static_cast<std::uint8_t>((sum.g + half) / sum.count),
                           static_cast<std::uint8_t>((sum.b + half) / sum.count)});
    }
    return palette;
}

// Nearest palette entry for a colour, cached on a 6-bit-per-channel grid.
class NearestColour {
public:
    explicit NearestColour(const std::vector<Colour>& palette)
        : palette_(palette), cache_(1 << 18, -1) {}

    std::uint8_t operator()(int r, int g, int b) {
        const int key = ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
        std::int16_t& cached = cache_[key];
        if (cached < 0)
            cached = Search((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2);
        return static_cast<std::uint8_t>(cached);
    }

private:
    std::int16_t Search(int r, int g, int b) const {
        int best = 0;
        int bestDistance = INT32_MAX;
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            const int dr = r - palette_[i][0], dg = g - palette_[i][1], db = b - palette_[i][2];
            const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        return static_cast<std::int16_t>(best);
    }

    const std::vector<Colour>& palette_;
    std::vector<std::int16_t> cache_;
};

IndexedImage QuantizedIndexed(const PixelRows& image, bool dither) {
    std::vector<Bin> bins(std::size_t{1} << (3 * kBits));
    const int w = image.width;
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(w) * 3);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* p = RgbRow(image, y, scratch.data());
        for (int x = 0; x < w; ++x, p += 3) {
            Bin& bin =
                bins[BinIndex(p[0] >> (8 - kBits), p[1] >> (8 - kBits), p[2] >> (8 - kBits))];
            ++bin.count;
            bin.r += p[0];
            bin.g += p[1];
            bin.b += p[2];
        }
    }
    IndexedImage result;
    result.palette = MedianCut(bins);
    result.indices.resize(static_cast<std::size_t>(w) * image.height);
    NearestColour nearest(result.palette);

    if (!dither) {
        std::uint8_t* index = result.indices.data();
        for (int y = 0; y < image.height; ++y) {
            const std::uint8_t* p = RgbRow(image, y, scratch.data());
            for (int x = 0; x < w; ++x, p += 3)
                *index++ = nearest(p[0], p[1], p[2]);
        }
        return result;
    }
    // Floyd-Steinberg in sixteenths, serpentine, errors of the next row kept aside.
    std::vector<int> current((w + 2) * 3, 0), next((w + 2) * 3, 0);
    for (int y = 0; y < image.height; ++y) {
        std::fill(next.begin(), next.end(), 0);
        const bool forward = (y & 1) == 0;
        const int step = forward ? 1 : -1;
        const std::uint8_t* row = RgbRow(image, y, scratch.data());
        for (int i = 0; i < w; ++i) {
            const int x = forward ? i : w - 1 - i;
            const std::uint8_t* src = row + 3 * x;
            int want[3];
            for (int k = 0; k < 3; ++k)
                want[k] = std::clamp(src[k] + (current[(x + 1) * 3 + k] + 8) / 16, 0, 255);
            const std::uint8_t index = nearest(want[0], want[1], want[2]);
            result.indices[static_cast<std::size_t>(y) * w + x] = index;
            for (int k = 0; k < 3; ++k) {
                const int e = want[k] - result.palette[index][k];
                current[(x + 1 + step) * 3 + k] += e * 7;
                next[(x + 1 - step) * 3 + k] += e * 3;
                next[(x + 1) * 3 + k] += e * 5;
                next[(x + 1 + step) * 3 + k] += e;
            }
        }
        std::swap(current, next);
    }
    return result;
}

// Packs variable-width codes least significant bit first into 255-byte sub-blocks.
class BlockWriter {
public:
    explicit BlockWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Put(unsigned code, int width) {
        bits_ |= static_cast<std::uint64_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            Byte(static_cast<std::uint8_t>(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    void Finish() {
        if (count_ > 0)
            Byte(static_cast<std::uint8_t>(bits_));
        if (!block_.empty())
            Flush();
        out_.push_back(0);
    }

private:
    void Byte(std::uint8_t b) {
        block_.push_back(b);
        if (block_.size() == 255)
            Flush();
    }
    void Flush() {
        out_.push_back(static_cast<std::uint8_t>(block_.size()));
        out_.insert(out_.end(), block_.begin(), block_.end());
        block_.clear();
    }
    std::vector<std::uint8_t>& out_;
    std::vector<std::uint8_t> block_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
};

} // namespace

IndexedImage ToIndexed(const PixelRows& image, bool dither) {
    std::vector<std::uint32_t> colours;
    if (FewColours(image, colours))
        return ExactIndexed(image, std::move(colours));
    return QuantizedIndexed(image, dither);
}

std::vector<std::uint8_t> GifLzwBlocks(const std::vector<std::uint8_t>& indices, int minCodeSize) {
    std::vector<std::uint8_t> out;
    BlockWriter writer(out);
    const unsigned clear = 1u << minCodeSize;
    const unsigned end = clear + 1;
    constexpr unsigned kMaxCodes = 4096;
    constexpr std::uint32_t kSlots = 1 << 13;
    // (prefix code << 8 | next index) + 1 -> code; 0 marks an empty slot.
    std::vector<std::uint32_t> keys(kSlots);
    std::vector<std::uint16_t> codes(kSlots);

    unsigned nextCode = end + 1;
    int width = minCodeSize + 1;
    writer.Put(clear, width);
    if (indices.empty()) {
        writer.Put(end, width);
        writer.Finish();
        return out;
    }
    unsigned prefix = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const std::uint8_t k = indices[i];
        const std::uint32_t key = ((prefix << 8) | k) + 1;
        std::uint32_t slot = (key * 2654435761u) >> (32 - 13);
        while (keys[slot] != 0 && keys[slot] != key)
            slot = (slot + 1) & (kSlots - 1);
        if (keys[slot] == key) {
            prefix = codes[slot];
            continue;
        }
        writer.Put(prefix, width);
        if (nextCode < kMaxCodes) {
            keys[slot] = key;
            codes[slot] = static_cast<std::uint16_t>(nextCode++);
            // The decoder adds its entry one code later, so widen one code late too.
            if (nextCode > (1u << width) && width < 12)
                ++width;
        } else {
            // Table full: start afresh so the codes keep adapting to the picture.
            writer.Put(clear, width);
            std::fill(keys.begin(), keys.end(), 0);
            nextCode = end + 1;
            width = minCodeSize + 1;
        }
        prefix = k;
    }
    writer.Put(prefix, width);
    // The decoder has caught up by one entry when it reads the end code.
    if (nextCode >= (1u << width) && width < 12)
        ++width;
    writer.Put(end, width);
    writer.Finish();
    return out;
}

bool EncodeGif(const Image& image, const GifOptions& options, std::vector<std::uint8_t>& out,
               std::string& error) {
    return CheckImage(image, error) && EncodeGifRows(RowsOf(image), options, out, error);
}

bool EncodeGifRows(const PixelRows& image, const GifOptions& options,
                   std::vector<std::uint8_t>& out, [[maybe_unused]] std::string& error) {
    const IndexedImage indexed = ToIndexed(image, options.dither);
    int bits = 1;
    while ((1u << bits) < indexed.palette.size())
        ++bits;

    out.assign({'G', 'I', 'F', '8', '9', 'a'});
    auto put16 = [&](int v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put16(image.width);
    put16(image.height);
    out.push_back(static_cast<std::uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
    out.push_back(0); // background colour index
    out.push_back(0); // no aspect ratio
    for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
        const Colour c = i < indexed.palette.size() ? indexed.palette[i] : Colour{0, 0, 0};
        out.insert(out.end(), c.begin(), c.end());
    }
    out.push_back(0x2C); // image descriptor
    put16(0);
    put16(0);
    put16(image.width);
    put16(image.height);
    out.push_back(0); // no local table, not interlaced
    const int minCodeSize = std::max(2, bits);
    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    const std::vector<std::uint8_t> blocks = GifLzwBlocks(indexed.indices, minCodeSize);
    out.insert(out.end(), blocks.begin(), blocks.end());
    out.push_back(0x3B); // trailer
    return true;
}

} // namespace conv
