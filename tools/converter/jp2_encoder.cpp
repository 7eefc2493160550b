#include "jp2_encoder.h"

#include "jp2_boxes.h"
#include "jp2_codestream.h"
#include "jp2_dwt.h"
#include "jp2_parallel.h"
#include "jp2_t1.h"
#include "jp2_t2.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <memory>
#include <stdexcept>

namespace conv {

namespace {

constexpr int kMaxLevels = 5;
constexpr int kBlockSide = 64;
constexpr int kPrecinctExponent = 15; // the largest precincts, the default
constexpr int kComponents = 3;
constexpr int kSampleBits = 8;
constexpr int kRowsPerItem = 32;

struct BandGeometry {
    BandKind kind;
    int x0;
    int y0;
    int width;
    int height;
    int gain; // log2 of the band's nominal gain: 0 LL, 1 HL and LH, 2 HH
};

struct ResolutionGeometry {
    int width;
    int height;
    std::vector<BandGeometry> bands;
};

// Where each resolution's bands lie in the transformed plane.
std::vector<ResolutionGeometry> LayoutResolutions(int width, int height, int levels) {
    std::vector<int> w{width};
    std::vector<int> h{height};
    for (int d = 1; d <= levels; ++d) {
        w.push_back(LowCount(w.back()));
        h.push_back(LowCount(h.back()));
    }
    std::vector<ResolutionGeometry> result;
    result.push_back({w[levels], h[levels], {{BandKind::LL, 0, 0, w[levels], h[levels], 0}}});
    for (int r = 1; r <= levels; ++r) {
        const int d = levels - r + 1;
        result.push_back({w[d - 1],
                          h[d - 1],
                          {{BandKind::HL, w[d], 0, w[d - 1] - w[d], h[d], 1},
                           {BandKind::LH, 0, h[d], w[d], h[d - 1] - h[d], 1},
                           {BandKind::HH, w[d], h[d], w[d - 1] - w[d], h[d - 1] - h[d], 2}}});
    }
    return result;
}

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// Level shift and reversible colour transform of one component into `plane`:
// 0 luma, 1 blue difference, 2 red difference. One component at a time keeps a
// single plane in memory, a third of what all three would take.
void TransformColour(const PixelRows& image, int component, std::int32_t* plane, int threads) {
    const int red = image.bgr ? 2 : 0;
    const int blue = 2 - red;
    const int items = CeilDiv(image.height, kRowsPerItem);
    ParallelFor(items, threads, [&](int item, int) {
        const int last = std::min(image.height, (item + 1) * kRowsPerItem);
        for (int y = item * kRowsPerItem; y < last; ++y) {
            const std::uint8_t* px = image.row(y);
            std::int32_t* out = plane + static_cast<std::size_t>(y) * image.width;
            switch (component) {
            case 0:
                // (r + 2g + b) / 4 - 128 is the transform of the level-shifted samples.
                for (int x = 0; x < image.width; ++x, px += 3) {
                    out[x] = ((px[0] + 2 * px[1] + px[2]) >> 2) - 128;
                }
                break;
            case 1:
                for (int x = 0; x < image.width; ++x, px += 3) {
                    out[x] = px[blue] - px[1];
                }
                break;
            default:
                for (int x = 0; x < image.width; ++x, px += 3) {
                    out[x] = px[red] - px[1];
                }
                break;
            }
        }
    });
}

// Adds the time since the last lap to a stage's field, when times are wanted.
class StageClock {
public:
    explicit StageClock(Jp2StageTimes* times) : times_(times) {}
    void Lap(double Jp2StageTimes::*stage) {
        if (!times_) {
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        times_->*stage += std::chrono::duration<double>(now - last_).count();
        last_ = now;
    }

private:
    Jp2StageTimes* times_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

struct BlockJob {
    CodedBand* band;
    const std::int32_t* origin;
    int width;
    int height;
    int index;
};

} // namespace

int Jp2DecompositionLevels(int width, int height) {
    const int shorter = std::min(width, height);
    return std::min(kMaxLevels,
                    static_cast<int>(std::bit_width(static_cast<unsigned>(shorter))) - 1);
}

std::vector<std::uint8_t> EncodeJp2(const Image& image, int threads, Jp2StageTimes* times) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
        throw std::invalid_argument("picture is empty or its pixels do not match its size");
    }
    return EncodeJp2Rows(RowsOf(image), threads, times);
}

std::vector<std::uint8_t> EncodeJp2Rows(const PixelRows& image, int threads, Jp2StageTimes* times) {
    if (image.width <= 0 || image.height <= 0 || image.top == nullptr)
        throw std::invalid_argument("picture is empty");
    threads = ResolveThreadCount(threads);
    const int width = image.width;
    const int height = image.height;
    const std::size_t samples = static_cast<std::size_t>(width) * height;
    const int levels = Jp2DecompositionLevels(width, height);

    const std::vector<ResolutionGeometry> resolutions = LayoutResolutions(width, height, levels);
    // coded[c][r][b]
    std::vector<std::vector<std::vector<CodedBand>>> coded(kComponents);
    for (int c = 0; c < kComponents; ++c) {
        coded[c].resize(resolutions.size());
        for (std::size_t r = 0; r < resolutions.size(); ++r) {
            for (const BandGeometry& g : resolutions[r].bands) {
                CodedBand band;
                band.kind = g.kind;
                band.blocksX = CeilDiv(g.width, kBlockSide);
                band.blocksY = CeilDiv(g.height, kBlockSide);
                band.blocks.resize(static_cast<std::size_t>(band.blocksX) * band.blocksY);
                coded[c][r].push_back(std::move(band));
            }
        }
    }

    // One plane, reused by each component in turn: transform, then code its blocks.
    std::unique_ptr<std::int32_t[]> plane(new std::int32_t[samples]); // all written below
    std::vector<BlockCoder> coders(threads);
    std::vector<BlockJob> jobs;
    StageClock clock(times);
    for (int c = 0; c < kComponents; ++c) {
        TransformColour(image, c, plane.get(), threads);
        clock.Lap(&Jp2StageTimes::colours);
        ForwardDwt53(plane.get(), width, height, width, levels, threads);
        clock.Lap(&Jp2StageTimes::wavelet);
        jobs.clear();
        for (std::size_t r = 0; r < resolutions.size(); ++r) {
            for (std::size_t b = 0; b < resolutions[r].bands.size(); ++b) {
                const BandGeometry& g = resolutions[r].bands[b];
                CodedBand& band = coded[c][r][b];
                for (int by = 0; by < band.blocksY; ++by) {
                    for (int bx = 0; bx < band.blocksX; ++bx) {
                        const int x = bx * kBlockSide;
                        const int y = by * kBlockSide;
                        jobs.push_back(
                            {&band,
                             plane.get() + static_cast<std::size_t>(g.y0 + y) * width + g.x0 + x,
                             std::min(kBlockSide, g.width - x), std::min(kBlockSide, g.height - y),
                             by * band.blocksX + bx});
                    }
                }
            }
        }
        ParallelFor(static_cast<int>(jobs.size()), threads, [&](int i, int worker) {
            const BlockJob& job = jobs[i];
            coders[worker].Encode(job.origin, job.width, job.height, width, job.band->kind,
                                  job.band->blocks[job.index]);
        });
        clock.Lap(&Jp2StageTimes::blocks);
    }
    plane.reset();

    // Enough guard bits that every band's promised bit planes cover its largest block.
    CodestreamParameters params;
    params.width = static_cast<std::uint32_t>(width);
    params.height = static_cast<std::uint32_t>(height);
    params.components = kComponents;
    params.levels = levels;
    params.guardBits = 2;
    for (std::size_t r = 0; r < resolutions.size(); ++r) {
        for (std::size_t b = 0; b < resolutions[r].bands.size(); ++b) {
            const int exponent = kSampleBits + resolutions[r].bands[b].gain;
            params.exponents.push_back(exponent);
            for (int c = 0; c < kComponents; ++c) {
                for (const CodedBlock& block : coded[c][r][b].blocks) {
                    params.guardBits = std::max(params.guardBits, block.bitPlanes - exponent + 1);
                }
            }
        }
    }
    std::size_t exponentIndex = 0;
    for (std::size_t r = 0; r < resolutions.size(); ++r) {
        for (std::size_t b = 0; b < resolutions[r].bands.size(); ++b, ++exponentIndex) {
            for (int c = 0; c < kComponents; ++c) {
                coded[c][r][b].magnitudeBits =
                    params.guardBits + params.exponents[exponentIndex] - 1;
            }
        }
    }

    std::size_t codedBytes = 0;
    for (const auto& component : coded) {
        for (const auto& resolution : component) {
            for (const CodedBand& band : resolution) {
                for (const CodedBlock& block : band.blocks) {
                    codedBytes += block.data.size();
                }
            }
        }
    }
    std::vector<std::uint8_t> packets;
    packets.reserve(codedBytes + codedBytes / 16 + 1024);
    // One layer; resolutions, then components, then precincts row by row.
    for (std::size_t r = 0; r < resolutions.size(); ++r) {
        const int precinctSide = 1 << kPrecinctExponent;
        const int precinctsX = CeilDiv(resolutions[r].width, precinctSide);
        const int precinctsY = CeilDiv(resolutions[r].height, precinctSide);
        // A precinct spans half as many samples in the bands of a higher resolution.
        const int blocksPerPrecinct = (r == 0 ? precinctSide : precinctSide / 2) / kBlockSide;
        for (int c = 0; c < kComponents; ++c) {
            for (int py = 0; py < precinctsY; ++py) {
                for (int px = 0; px < precinctsX; ++px) {
                    std::vector<PrecinctBand> parts;
                    for (const CodedBand& band : coded[c][r]) {
                        PrecinctBand pb;
                        pb.band = &band;
                        pb.x0 = std::min(band.blocksX, px * blocksPerPrecinct);
                        pb.y0 = std::min(band.blocksY, py * blocksPerPrecinct);
                        pb.x1 = std::min(band.blocksX, (px + 1) * blocksPerPrecinct);
                        pb.y1 = std::min(band.blocksY, (py + 1) * blocksPerPrecinct);
                        parts.push_back(pb);
                    }
                    AppendPacket(parts, packets);
                }
            }
        }
    }
    std::vector<std::uint8_t> file =
        WrapJp2(params.width, params.height, kComponents, BuildCodestream(params, packets));
    clock.Lap(&Jp2StageTimes::packets);
    return file;
}

} // namespace conv
