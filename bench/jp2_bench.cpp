// Times our JPEG 2000 encoder against OpenJPEG's opj_compress (lossless, -r 1) on
// the same synthetic screenshots, side by side in one run, and checks that our
// files decode back exactly. Usage: jp2_bench [repeats]
#include "jp2_encoder.h"
#include "screenshot.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace fs = std::filesystem;
using bench::Doubled;
using bench::MakeScreenshot;
using conv::Image;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void WritePpm(const fs::path& file, const Image& image) {
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.rgb.data()),
              static_cast<std::streamsize>(image.rgb.size()));
}

bool SameAsPpm(const fs::path& file, const Image& image) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int w = 0;
    int h = 0;
    int maxval = 0;
    in >> magic;
    while (in >> std::ws && in.peek() == '#') {
        std::string comment;
        std::getline(in, comment);
    }
    in >> w >> h >> maxval;
    in.get();
    std::vector<std::uint8_t> rgb(image.rgb.size());
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    return in && magic == "P6" && w == image.width && h == image.height && rgb == image.rgb;
}

// Processor seconds (user + system) used so far by this process or by its
// finished children: on a shared machine these say more than the clock.
double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double TimeCommand(const std::string& command) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return Seconds(start);
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const fs::path dir = fs::temp_directory_path() / "qorvic-jp2-bench";
    fs::create_directories(dir);
    std::printf("%-11s %8s %8s %8s %6s %8s %8s %6s %10s %10s %7s %8s\n", "picture", "ours s",
                "opj s", "opj-t2 s", "time", "ours cpu", "opj cpu", "cpu", "ours bytes",
                "opj bytes", "size", "lossless");
    struct Picture {
        const char* name;
        int width;
        int height;
        bool doubled;
    };
    const Picture pictures[] = {{"1920x1080", 1920, 1080, false},
                                {"7680x4320", 7680, 4320, false},
                                {"4K at 200%", 3840, 2160, true}};
    for (const Picture& picture : pictures) {
        const Image screen = MakeScreenshot(picture.width, picture.height, 1);
        const Image image = picture.doubled ? Doubled(screen) : screen;
        const fs::path ppm = dir / "screen.ppm";
        const fs::path ours = dir / "ours.jp2";
        const fs::path theirs = dir / "opj.jp2";
        WritePpm(ppm, image);
        const std::string opj = "opj_compress -i '" + ppm.string() + "' -o '" + theirs.string() +
                                "' -r 1 > /dev/null 2>&1";
        const std::string opjThreads = "opj_compress -i '" + ppm.string() + "' -o '" +
                                       theirs.string() + "' -r 1 -threads 2 > /dev/null 2>&1";
        // Alternate the encoders so that load from elsewhere hits both alike; keep
        // the best run of each.
        double ourBest = 1e9;
        double opjBest = 1e9;
        double opjThreadsBest = 1e9;
        double ourCpu = 1e9;
        double opjCpu = 1e9;
        std::size_t ourBytes = 0;
        for (int r = 0; r < repeats; ++r) {
            const double cpuStart = CpuSeconds(RUSAGE_SELF);
            const auto start = Clock::now();
            const std::vector<std::uint8_t> file = conv::EncodeJp2(image);
            std::ofstream(ours, std::ios::binary)
                .write(reinterpret_cast<const char*>(file.data()),
                       static_cast<std::streamsize>(file.size()));
            ourBest = std::min(ourBest, Seconds(start));
            ourCpu = std::min(ourCpu, CpuSeconds(RUSAGE_SELF) - cpuStart);
            ourBytes = file.size();
            const double childStart = CpuSeconds(RUSAGE_CHILDREN);
            opjBest = std::min(opjBest, TimeCommand(opj));
            opjCpu = std::min(opjCpu, CpuSeconds(RUSAGE_CHILDREN) - childStart);
            opjThreadsBest = std::min(opjThreadsBest, TimeCommand(opjThreads));
        }
        const std::uintmax_t opjBytes = fs::file_size(theirs);
        const fs::path decoded = dir / "ours.ppm";
        TimeCommand("opj_decompress -i '" + ours.string() + "' -o '" + decoded.string() +
                    "' > /dev/null 2>&1");
        const bool lossless = SameAsPpm(decoded, image);
        std::printf("%-11s %8.3f %8.3f %8.3f %6.3f %8.3f %8.3f %6.3f %10zu %10ju %7.4f %8s\n",
                    picture.name, ourBest, opjBest, opjThreadsBest, ourBest / opjBest, ourCpu,
                    opjCpu, ourCpu / opjCpu, ourBytes, opjBytes,
                    static_cast<double>(ourBytes) / static_cast<double>(opjBytes),
                    lossless ? "yes" : "NO");
        std::fflush(stdout);
        if (!lossless) {
            return 1;
        }
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
