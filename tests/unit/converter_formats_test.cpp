#include "pictures.h"
#include "bmp_reader.h"
#include "bmp_writer.h"
#include "formats.h"

#include <gtest/gtest.h>

using namespace conv;

TEST(ConverterFormats, ChoosesTheFormatFromTheLastExtensionWithoutRegardToCase) {
    const std::pair<const wchar_t*, Format> cases[] = {
        {L"C:\\a b\\Qorvic_1.png", Format::Png},
        {L"C:\\x\\shot.JPEG", Format::Jpeg},
        {L"shot.jpeg.jpg", Format::Jpeg},
        {L"shot.Tiff", Format::Tiff},
        {L"shot.GiF", Format::Gif},
        {L"shot.jp2", Format::Jp2},
        {L"shot.webp", Format::Unknown},
        {L"shot.", Format::Unknown},
        {L"C:\\my.pictures\\shot", Format::Unknown},
    }; // a dot in a folder name
    for (const auto& [path, format] : cases)
        EXPECT_EQ(FormatOfPath(path), format) << path;
}

// Every encoder gives the same file from a bitmap's own rows (bottom-up, blue
// first) as from the decoded picture, with either choice of each setting.
TEST(ConverterFormats, WritesTheFormatTheExtensionNames) {
    // Over 256 colours, so GIF quantizes; a width that is no multiple of five or 16.
    const Image image = conv::testing::ScreenLikeImage(41, 21);
    PixelRows inPlace;
    const std::vector<std::uint8_t> bmp = EncodeBmp(image);
    ASSERT_TRUE(BmpRows(bmp, inPlace));
    ConverterSettings other;
    other.jpeg.subsampleChroma = true;
    other.gif.dither = false;
    other.tiff.compression = TiffCompression::None;
    const std::pair<const wchar_t*, std::string> cases[] = {
        {L"a.bmp", "BM"},           {L"a.gif", "GIF89a"},
        {L"a.jpg", "\xFF\xD8\xFF"}, {L"a.png", "\x89PNG"},
        {L"a.TIF", "II*"},          {L"C:\\a b\\Qorvic_1.JP2", std::string("\0\0\0\x0CjP  ", 8)},
    };
    std::vector<std::uint8_t> out, fromBitmap;
    std::string error;
    for (const ConverterSettings& settings : {ConverterSettings{}, other})
        for (const auto& [path, magic] : cases) {
            ASSERT_TRUE(EncodeByExtension(RowsOf(image), path, settings, out, error)) << error;
            EXPECT_EQ(std::string(out.begin(), out.begin() + std::min(out.size(), magic.size())),
                      magic);
            ASSERT_TRUE(EncodeByExtension(inPlace, path, settings, fromBitmap, error)) << error;
            EXPECT_EQ(fromBitmap, out) << path;
        }
    EXPECT_FALSE(EncodeByExtension(RowsOf(image), L"a.webp", out, error));
    EXPECT_EQ(error, "unsupported target format");
    EXPECT_FALSE(EncodeByExtension(RowsOf(Image{}), L"a.png", out, error));
    // A side that JPEG decoders refuse is refused for JPG alone.
    const Image wide{65501, 1, std::vector<std::uint8_t>(65501 * 3, 7)};
    EXPECT_FALSE(EncodeByExtension(RowsOf(wide), L"a.jpg", out, error));
    EXPECT_TRUE(EncodeByExtension(RowsOf(wide), L"a.png", out, error)) << error;
}
