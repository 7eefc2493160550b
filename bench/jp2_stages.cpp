// Where the converter's time goes on a JPEG 2000 target, stage by stage: reading
// the bitmap, decoding it, the encoder's stages and writing the file. Built both
// natively and for Windows, so one picture can be profiled on Linux and under
// Wine side by side. Usage: jp2_stages IN.bmp OUT.jp2 [threads] [repeats]
#include "bmp_reader.h"
#include "jp2_encoder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor seconds of the whole process, all threads.
double ProcessCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IN.bmp OUT.jp2 [threads] [repeats]\n", argv[0]);
        return 2;
    }
    const int threads = argc > 3 ? std::atoi(argv[3]) : 0;
    const int repeats = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
    std::printf("%7s %7s %7s %7s %7s %7s %7s %7s %7s\n", "read", "decode", "colours", "wavelet",
                "blocks", "packets", "write", "wall", "cpu");
    for (int r = 0; r < repeats; ++r) {
        const double cpu = ProcessCpu();
        const auto start = Clock::now();
        std::vector<std::uint8_t> file;
        {
            std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
            file.resize(static_cast<std::size_t>(in.tellg()));
            in.seekg(0);
            in.read(reinterpret_cast<char*>(file.data()),
                    static_cast<std::streamsize>(file.size()));
            if (!in) {
                std::fprintf(stderr, "cannot read %s\n", argv[1]);
                return 1;
            }
        }
        const double read = Since(start);
        auto lap = Clock::now();
        conv::Image image;
        std::string error;
        if (!conv::DecodeBmp(file, image, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::vector<std::uint8_t>().swap(file);
        const double decode = Since(lap);
        conv::Jp2StageTimes times;
        const std::vector<std::uint8_t> jp2 = conv::EncodeJp2(image, threads, &times);
        lap = Clock::now();
        std::ofstream(argv[2], std::ios::binary)
            .write(reinterpret_cast<const char*>(jp2.data()),
                   static_cast<std::streamsize>(jp2.size()));
        const double write = Since(lap);
        std::printf("%7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f\n", read, decode,
                    times.colours, times.wavelet, times.blocks, times.packets, write, Since(start),
                    ProcessCpu() - cpu);
        std::fflush(stdout);
    }
    return 0;
}
