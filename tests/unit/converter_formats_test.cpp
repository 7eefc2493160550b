#include "pictures.h"
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
