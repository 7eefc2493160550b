// The converter's JPEG path natively, as a command like cjpeg: maps a 24-bit
// bitmap, encodes its rows in place at quality 90, 4:4:4, writes the file. The encode alone
// is timed on stderr. Usage: jpeg_file IN.bmp OUT.jpg [THREADS (0: one per core)]
#include "bmp_reader.h"
#include "jpeg_encoder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IN.bmp OUT.jpg [THREADS]\n", argv[0]);
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || info.st_size == 0) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED)
        return 1;
    const std::span<const std::uint8_t> file(static_cast<const std::uint8_t*>(mapped), size);
    std::string error;
    std::vector<std::uint8_t> jpeg;
    conv::JpegOptions options;
    options.threads = argc > 3 ? std::atoi(argv[3]) : 0;
    conv::PixelRows rows;
    if (!conv::BmpRows(file, rows)) {
        std::fprintf(stderr, "not a 24-bit bitmap\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    if (!conv::EncodeJpegRows(rows, options, jpeg, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "encode %.3f s\n",
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(jpeg.data()),
              static_cast<std::streamsize>(jpeg.size()));
    return out ? 0 : 1;
}
