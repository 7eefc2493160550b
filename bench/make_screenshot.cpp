// Writes one of the benchmarks' synthetic screenshots as a 24-bit Windows bitmap,
// the file the program hands to the converter.
// Usage: make_screenshot WIDTH HEIGHT OUT.bmp [doubled]
//   doubled: a WIDTH/2 x HEIGHT/2 desktop with every pixel doubled, which is
//   what the program's 200 % output looks like.
#include "bmp_writer.h"
#include "screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT OUT.bmp [doubled]\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const bool doubled = argc > 4 && std::strcmp(argv[4], "doubled") == 0;
    if (width < 2 || height < 2 || width > 16384 || height > 16384) {
        std::fprintf(stderr, "size out of range\n");
        return 2;
    }
    const conv::Image image = doubled
                                  ? bench::Doubled(bench::MakeScreenshot(width / 2, height / 2, 1))
                                  : bench::MakeScreenshot(width, height, 1);
    const std::vector<std::uint8_t> file = conv::EncodeBmp(image);
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
