#include "converter_settings.h"
#include "converter_test_support.h"
#include "formats.h"

#include <gtest/gtest.h>

using namespace conv;

TEST(ConverterFormats, ChoosesTheFormatFromTheLastExtensionWithoutRegardToCase) {
    const std::pair<const wchar_t*, Format> cases[] = {
        {L"C:\\a b\\Qorvic_1.png", Format::Png},
        {L"C:\\x\\shot.JPEG", Format::Jpeg},
        {L"shot.jpeg.jpg", Format::Jpeg},
        {L"shot.Tiff", Format::Tiff},
        {L"shot.tif", Format::Tiff},
        {L"shot.GiF", Format::Gif},
        {L"shot.bmp", Format::Bmp},
        {L"shot.jp2", Format::Jp2},
        {L"shot.webp", Format::Unknown},
        {L"shot.", Format::Unknown},
        {L"C:\\my.pictures\\shot", Format::Unknown},
    }; // a dot in a folder name
    for (const auto& [path, format] : cases)
        EXPECT_EQ(FormatOfPath(path), format) << path;
}

TEST(ConverterFormats, WritesTheFormatTheExtensionNames) {
    const Image image = conv::testing::ScreenLikeImage(20, 10);
    const std::pair<const wchar_t*, std::string> cases[] = {
        {L"a.bmp", "BM"},           {L"a.gif", "GIF89a"},
        {L"a.jpg", "\xFF\xD8\xFF"}, {L"a.png", "\x89PNG"},
        {L"a.TIF", "II*"},          {L"C:\\a b\\Qorvic_1.JP2", std::string("\0\0\0\x0CjP  ", 8)},
    };
    std::vector<std::uint8_t> out;
    std::string error;
    for (const auto& [path, magic] : cases) {
        ASSERT_TRUE(EncodeByExtension(image, path, out, error)) << error;
        EXPECT_EQ(std::string(out.begin(), out.begin() + std::min(out.size(), magic.size())),
                  magic);
    }
    EXPECT_FALSE(EncodeByExtension(image, L"a.webp", out, error));
    EXPECT_EQ(error, "unsupported target format");
    EXPECT_FALSE(EncodeByExtension(Image{}, L"a.png", out, error));
    // A side that JPEG decoders refuse is refused for JPG alone.
    const Image wide{65501, 1, std::vector<std::uint8_t>(65501 * 3, 7)};
    EXPECT_FALSE(EncodeByExtension(wide, L"a.jpg", out, error));
    EXPECT_TRUE(EncodeByExtension(wide, L"a.png", out, error)) << error;
}

TEST(ConverterSettingsFile, DefaultsWhenEmptyOrBroken) {
    for (const char* text :
         {"", "garbage\n\x01\x02", "[JPEG]\nQuality=high\n[GIF]\nDither=\n", "Quality=10\n"}) {
        const ConverterSettings s = ParseConverterSettings(text);
        EXPECT_EQ(s.jpeg.quality, 90) << text;
        EXPECT_FALSE(s.jpeg.subsampleChroma) << "4:4:4 unless asked";
        EXPECT_TRUE(s.gif.dither);
        EXPECT_EQ(s.png.level, 3);
        EXPECT_EQ(s.tiff.compression, TiffCompression::Lzw);
    }
}

TEST(ConverterSettingsFile, ReadsKnownKeysInAnyCaseAndClampsRanges) {
    const ConverterSettings s = ParseConverterSettings("\xEF\xBB\xBF; written by hand\r\n"
                                                       "[jpeg]\r\n quality = 75 \r\n"
                                                       "Subsampling=420\r\n"
                                                       "[GIF]\r\nDither=0\r\n"
                                                       "[PNG]\r\nLevel=42\r\n"
                                                       "[Tiff]\r\nCompression=none\r\n"
                                                       "[Other]\r\nQuality=5\r\n");
    EXPECT_EQ(s.jpeg.quality, 75);
    EXPECT_TRUE(s.jpeg.subsampleChroma);
    EXPECT_FALSE(s.gif.dither);
    EXPECT_EQ(s.png.level, 9);
    EXPECT_EQ(s.tiff.compression, TiffCompression::None);
    EXPECT_EQ(ParseConverterSettings("[JPEG]\nQuality=0").jpeg.quality, 1);
    EXPECT_EQ(ParseConverterSettings("[JPEG]\nQuality=1000").jpeg.quality, 100);
}
