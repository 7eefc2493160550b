// End-to-end checks of the .jp2 encoder against the reference decoder
// (opj_decompress), a test requirement of the native run: a missing tool makes
// these tests fail, not skip. The Windows build of this binary has no such tool
// and runs the checks that need none.
#include "pictures.h"
#include "jp2_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace conv;
using namespace conv::testing;

namespace {

// The contents whose wavelet bands differ most: a screenshot's gradients, glyph
// edges and noise; flat colour (all-zero high bands); few colours; pure noise.
Image MakePicture(int w, int h, unsigned seed) {
    switch (seed % 4) {
    case 0:
        return ScreenLikeImage(w, h, seed);
    case 1:
        return FewColourImage(w, h, 1, seed);
    case 2:
        return FewColourImage(w, h, 3, seed);
    default:
        return FewColourImage(w, h, w * h, seed);
    }
}

// Reads a binary PPM (P6, maxval 255), skipping comments. Empty image on failure.
Image ReadPpm(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> fields;
    for (std::string t; fields.size() < 4 && in >> t;) {
        if (t[0] == '#')
            std::getline(in, t);
        else
            fields.push_back(t);
    }
    in.get();
    if (fields.size() < 4 || fields[0] != "P6" || fields[3] != "255")
        return Image{};
    Image image{std::stoi(fields[1]), std::stoi(fields[2]), {}};
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()),
            static_cast<std::streamsize>(image.rgb.size()));
    return in ? image : Image{};
}

// Encodes every picture, decodes all of them with one opj_decompress run and
// reports each one whose decoded pixels differ from its source.
void ExpectLosslessThroughReferenceDecoder(
    const std::vector<std::pair<std::string, Image>>& cases) {
    const TempDir dir;
    for (const auto& [name, image] : cases)
        dir.Write(name + ".jp2", EncodeJp2(image));
    const std::string log = (dir.path() / "log.txt").string();
    const int status = std::system(
        ("opj_decompress -ImgDir '" + dir.path().string() + "' -OutFor PPM > '" + log + "' 2>&1")
            .c_str());
    std::stringstream text;
    text << std::ifstream(log).rdbuf();
    ASSERT_EQ(status, 0) << "opj_decompress (package libopenjp2-tools) failed or is missing:\n"
                         << text.str().substr(0, 2000);
    for (const auto& [name, image] : cases) {
        SCOPED_TRACE(name);
        ExpectSamePixels(image, ReadPpm(dir.path() / (name + ".ppm")));
    }
}

} // namespace

TEST(Jp2Encoder, ReferenceDecoderRestoresEveryPictureExactly) {
#ifdef _WIN32
    GTEST_SKIP() << "opj_decompress is checked in the native run";
#endif
    std::vector<std::pair<std::string, Image>> cases = {
        {"black", Image{33, 17, Bytes(33 * 17 * 3, 0)}},
        {"white", Image{33, 17, Bytes(33 * 17 * 3, 255)}},
    };
    // Sizes around the code-block and band edges, thin ones, and ones wider or
    // taller than a precinct (2^15 samples), the contents in turn; then a few
    // hundred small pictures of random size, where off-by-one faults hide.
    const std::pair<int, int> sizes[] = {{257, 191}, {300, 200}, {640, 200}, {65, 65},  {2, 33000},
                                         {1, 77},    {77, 1},    {33000, 3}, {1000, 3}, {1, 1}};
    unsigned seed = 0;
    for (const auto& [w, h] : sizes)
        cases.push_back({std::to_string(w) + "x" + std::to_string(h), MakePicture(w, h, seed++)});
    std::mt19937 rng(12);
    for (int i = 0; i < 306; ++i) {
        const int most = i < 6 ? 700 : 90;
        const int w = std::uniform_int_distribution<int>(1, most)(rng);
        const int h = std::uniform_int_distribution<int>(1, most)(rng);
        cases.push_back({"random_" + std::to_string(i), MakePicture(w, h, rng())});
    }
    ExpectLosslessThroughReferenceDecoder(cases);
}

TEST(Jp2Encoder, OutputDoesNotDependOnTheThreadCount) {
    const Image picture = ScreenLikeImage(517, 300);
    const Bytes single = EncodeJp2(picture, 1);
    EXPECT_EQ(EncodeJp2(picture, 2), single);
    EXPECT_EQ(EncodeJp2(picture, 7), single);
}

TEST(Jp2Encoder, RejectsPicturesWhosePixelsDoNotMatchTheirSize) {
    EXPECT_THROW(EncodeJp2(Image{}), std::invalid_argument);
    EXPECT_THROW(EncodeJp2(Image{10, 10, Bytes(299)}), std::invalid_argument);
    EXPECT_THROW(EncodeJp2(Image{-10, 10, Bytes(300)}), std::invalid_argument);
}
