// PNG files are checked by ImageMagick (libpng verifies every chunk's CRC and
// the stream's Adler-32); the Windows build's files are decoded end to end.
#include "pictures.h"
#include "png_encoder.h"

#include <gtest/gtest.h>

using namespace conv;
using namespace conv::testing;

namespace {

void ExpectDecodesTo(const Image& image, const Bytes& png) {
    const auto decoded = DecodeWithImageMagick(png, "png");
    ASSERT_TRUE(decoded);
    ExpectSamePixels(image, *decoded);
    EXPECT_EQ(Be32(png, png.size() - 8), 0x49454E44u) << "IEND is the last chunk";
}

} // namespace

TEST(PngEncoder, KeepsEveryPixelAtEveryLevel) {
    SKIP_WITHOUT_IMAGEMAGICK();
    for (int level : {0, 1, 6, 9}) {
        SCOPED_TRACE(level);
        const Image image = ScreenLikeImage(37, 23, static_cast<unsigned>(level));
        ExpectDecodesTo(image, Encoded(EncodePng, image, PngOptions{level, 1}));
    }
}

TEST(PngEncoder, SplitsLargePicturesIntoBandsThatJoinIntoOneStream) {
    // Wide rows force many bands; the result must not depend on the thread count.
    const Image image = ScreenLikeImage(2500, 300);
    const Bytes several = Encoded(EncodePng, image, PngOptions{6, 3});
    EXPECT_EQ(Encoded(EncodePng, image, PngOptions{6, 1}), several);
    SKIP_WITHOUT_IMAGEMAGICK();
    ExpectDecodesTo(image, several);
}

TEST(PngEncoder, RefusesEmptyOrInconsistentPictures) {
    Bytes png;
    std::string error;
    EXPECT_FALSE(EncodePng(Image{}, {}, png, error));
    EXPECT_FALSE(EncodePng(Image{4, 4, Bytes(10)}, {}, png, error));
    EXPECT_FALSE(error.empty());
}
