// End-to-end checks of the .jp2 encoder against the reference decoder
// (opj_decompress) and ImageMagick's identify. Both tools are test requirements
// of the native run: a missing tool makes these tests fail, not skip. The Windows
// build of this binary has no such tools and runs the checks that need none.
#include "formats.h"
#include "jp2_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace conv;
namespace fs = std::filesystem;

namespace {

#ifndef _WIN32
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("qorvic-jp2-" + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Reads a binary PPM (P6, maxval 255), skipping comments. Empty image on failure.
Image ReadPpm(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    auto token = [&] {
        std::string t;
        char c;
        while (in.get(c)) {
            if (c == '#') {
                std::string line;
                std::getline(in, line);
            } else if (!std::isspace(static_cast<unsigned char>(c))) {
                t += c;
            } else if (!t.empty()) {
                break;
            }
        }
        return t;
    };
    Image image;
    if (token() != "P6") {
        return image;
    }
    const int w = std::stoi(token());
    const int h = std::stoi(token());
    if (token() != "255") {
        return image;
    }
    image.width = w;
    image.height = h;
    image.rgb.resize(static_cast<std::size_t>(w) * h * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()),
            static_cast<std::streamsize>(image.rgb.size()));
    if (!in) {
        return Image{};
    }
    return image;
}

std::string RunAndCapture(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        *status = -1;
        return output;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    *status = pclose(pipe);
    return output;
}

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

#endif

// Picture makers; each fills every pixel from (x, y) and a generator.
enum class Content { Noise, Photo, Flat, Text, Gradient };

Image MakePicture(int w, int h, Content content, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Image image;
    image.width = w;
    image.height = h;
    image.rgb.resize(static_cast<std::size_t>(w) * h * 3);
    auto byte = [&] { return static_cast<std::uint8_t>(rng()); };
    const std::uint8_t flat[3] = {byte(), byte(), byte()};
    int drift[3] = {128, 128, 128};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = image.pixel(x, y);
            switch (content) {
            case Content::Noise:
                p[0] = byte();
                p[1] = byte();
                p[2] = byte();
                break;
            case Content::Photo: // a random walk: smooth, but with fine grain
                for (int c = 0; c < 3; ++c) {
                    drift[c] = std::clamp(drift[c] + static_cast<int>(rng() % 9) - 4, 0, 255);
                    p[c] = static_cast<std::uint8_t>(drift[c]);
                }
                break;
            case Content::Flat:
                p[0] = flat[0];
                p[1] = flat[1];
                p[2] = flat[2];
                break;
            case Content::Text: { // dark glyph strokes on a light window, a title bar
                const bool title = y < 12;
                const bool ink =
                    !title && (y % 14) < 9 && (x % 7) < 5 && ((x * 13 + y * 7) % 5 == 0);
                p[0] = ink ? 20 : (title ? 0 : 250);
                p[1] = ink ? 20 : (title ? 90 : 250);
                p[2] = ink ? 30 : (title ? 200 : 245);
                break;
            }
            case Content::Gradient:
                p[0] = static_cast<std::uint8_t>(x * 255 / std::max(1, w - 1));
                p[1] = static_cast<std::uint8_t>(y * 255 / std::max(1, h - 1));
                p[2] = static_cast<std::uint8_t>((x + y) * 255 / std::max(1, w + h - 2));
                break;
            }
        }
    }
    return image;
}

#ifndef _WIN32
struct Case {
    std::string name;
    Image image;
};

// Encodes every case into `dir`, decodes all of them with one opj_decompress run,
// and reports each case whose decoded pixels differ from its source.
void ExpectLosslessThroughReferenceDecoder(const std::vector<Case>& cases, const fs::path& dir) {
    for (const Case& c : cases) {
        WriteBytes(dir / (c.name + ".jp2"), EncodeJp2(c.image));
    }
    int status = 0;
    const std::string log =
        RunAndCapture("opj_decompress -ImgDir " + Quoted(dir) + " -OutFor PPM 2>&1", &status);
    ASSERT_EQ(status, 0) << "opj_decompress (package libopenjp2-tools) failed or is missing:\n"
                         << log.substr(0, 2000);
    for (const Case& c : cases) {
        const Image decoded = ReadPpm(dir / (c.name + ".ppm"));
        EXPECT_EQ(decoded.width, c.image.width) << c.name;
        EXPECT_EQ(decoded.height, c.image.height) << c.name;
        if (decoded.rgb != c.image.rgb) {
            std::size_t i = 0;
            while (i < decoded.rgb.size() && i < c.image.rgb.size() &&
                   decoded.rgb[i] == c.image.rgb[i]) {
                ++i;
            }
            ADD_FAILURE() << c.name << ": first differing byte " << i << " (pixel " << i / 3
                          << ", channel " << i % 3 << ")";
        }
    }
}

#endif

} // namespace

#ifndef _WIN32
TEST(Jp2Encoder, ReferenceDecoderRestoresEveryPictureExactly) {
    TempDir dir;
    std::vector<Case> cases = {
        {"noise", MakePicture(200, 150, Content::Noise, 1)},
        {"photo", MakePicture(257, 191, Content::Photo, 2)},
        {"flat", MakePicture(300, 200, Content::Flat, 3)},
        {"text", MakePicture(640, 200, Content::Text, 4)},
        {"gradient", MakePicture(256, 256, Content::Gradient, 5)},
        {"one_pixel", MakePicture(1, 1, Content::Noise, 6)},
        {"one_column", MakePicture(1, 77, Content::Noise, 7)},
        {"one_row", MakePicture(77, 1, Content::Photo, 8)},
        {"block_plus_one", MakePicture(65, 65, Content::Noise, 9)},
        {"thin_strip", MakePicture(1000, 3, Content::Gradient, 10)},
        // Wider than one precinct (2^15 samples): several precincts per resolution.
        {"wider_than_a_precinct", MakePicture(33000, 3, Content::Photo, 13)},
        {"taller_than_a_precinct", MakePicture(2, 33000, Content::Gradient, 14)},
        {"black", MakePicture(33, 17, Content::Flat, 11)},
    };
    std::memset(cases.back().image.rgb.data(), 0, cases.back().image.rgb.size());
    cases.push_back({"white", cases.back().image});
    std::memset(cases.back().image.rgb.data(), 255, cases.back().image.rgb.size());
    std::mt19937 rng(12);
    for (int i = 0; i < 6; ++i) {
        const int w = std::uniform_int_distribution<int>(1, 700)(rng);
        const int h = std::uniform_int_distribution<int>(1, 700)(rng);
        cases.push_back({"random_size_" + std::to_string(i),
                         MakePicture(w, h, static_cast<Content>(i % 5), rng())});
    }
    ExpectLosslessThroughReferenceDecoder(cases, dir.path());
}

// A few hundred small pictures of random size and content: the odd sizes, band
// edges and tiny code-blocks where off-by-one faults hide.
TEST(Jp2Encoder, RandomSmallPicturesAllRoundTrip) {
    TempDir dir;
    std::mt19937 rng(2024);
    std::vector<Case> cases;
    for (int i = 0; i < 300; ++i) {
        const int w = std::uniform_int_distribution<int>(1, 90)(rng);
        const int h = std::uniform_int_distribution<int>(1, 90)(rng);
        const auto content = static_cast<Content>(rng() % 5);
        cases.push_back({"p" + std::to_string(i), MakePicture(w, h, content, rng())});
    }
    ExpectLosslessThroughReferenceDecoder(cases, dir.path());
}

TEST(Jp2Encoder, ImageMagickIdentifiesJpeg2000OfTheRightSize) {
    TempDir dir;
    const int sizes[][2] = {{1, 1}, {65, 65}, {1000, 3}, {123, 457}};
    for (const auto& size : sizes) {
        const fs::path file = dir.path() / "picture.jp2";
        WriteBytes(file, EncodeJp2(MakePicture(size[0], size[1], Content::Text, 1)));
        int status = 0;
        const std::string out =
            RunAndCapture("identify -format '%m %w %h' " + Quoted(file) + " 2>&1", &status);
        ASSERT_EQ(status, 0) << "identify (package imagemagick) failed or is missing: " << out;
        std::ostringstream expected;
        expected << "JP2 " << size[0] << " " << size[1];
        EXPECT_EQ(out, expected.str());
    }
}

#endif

TEST(Jp2Encoder, OutputDoesNotDependOnTheThreadCount) {
    const Image picture = MakePicture(517, 300, Content::Photo, 99);
    const std::vector<std::uint8_t> single = EncodeJp2(picture, 1);
    EXPECT_EQ(EncodeJp2(picture, 2), single);
    EXPECT_EQ(EncodeJp2(picture, 7), single);
}

TEST(Jp2Encoder, RejectsPicturesWhosePixelsDoNotMatchTheirSize) {
    Image empty;
    EXPECT_THROW(EncodeJp2(empty), std::invalid_argument);
    Image shortBuffer = MakePicture(10, 10, Content::Flat, 1);
    shortBuffer.rgb.pop_back();
    EXPECT_THROW(EncodeJp2(shortBuffer), std::invalid_argument);
    Image negative = MakePicture(10, 10, Content::Flat, 1);
    negative.width = -10;
    EXPECT_THROW(EncodeJp2(negative), std::invalid_argument);
}

TEST(Jp2Encoder, LevelsShrinkForSmallPictures) {
    EXPECT_EQ(Jp2DecompositionLevels(1, 1), 0);
    EXPECT_EQ(Jp2DecompositionLevels(1, 5000), 0);
    EXPECT_EQ(Jp2DecompositionLevels(1000, 3), 1);
    EXPECT_EQ(Jp2DecompositionLevels(31, 31), 4);
    EXPECT_EQ(Jp2DecompositionLevels(32, 7680), 5);
    EXPECT_EQ(Jp2DecompositionLevels(7680, 4320), 5);
}

TEST(Jp2Encoder, ConverterWritesJp2ForTheJp2Extension) {
    const Image picture = MakePicture(40, 30, Content::Text, 3);
    std::vector<std::uint8_t> out;
    std::string error;
    ASSERT_TRUE(EncodeByExtension(picture, L"C:\\Users\\a b\\Desktop\\Qorvic_1.JP2", out, error))
        << error;
    EXPECT_EQ(out, EncodeJp2(picture));
}
