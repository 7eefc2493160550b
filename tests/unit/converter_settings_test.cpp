// The converter's settings file: robust parsing, and the file the installer
// ships, in which every line must be one the converter understands, or a user
// editing it would change nothing.
#include "converter_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

using namespace conv;

namespace {

bool SameSettings(const ConverterSettings& a, const ConverterSettings& b) {
    return a.jpeg.quality == b.jpeg.quality && a.jpeg.subsampleChroma == b.jpeg.subsampleChroma &&
           a.gif.dither == b.gif.dither && a.png.level == b.png.level &&
           a.tiff.compression == b.tiff.compression;
}

std::string ShippedIni() {
    const std::filesystem::path path =
        std::filesystem::path(QORVIC_TEST_DATA).parent_path().parent_path() / "installer" /
        "i_view32.ini";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// The defaults themselves are the shipped file's (ShippedConverterSettings).
TEST(ConverterSettingsFile, DefaultsWhenEmptyOrBroken) {
    for (const char* text :
         {"", "garbage\n\x01\x02", "[JPEG]\nQuality=high\n[GIF]\nDither=\n", "Quality=10\n"})
        EXPECT_TRUE(SameSettings(ParseConverterSettings(text), ConverterSettings{})) << text;
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

TEST(ShippedConverterSettings, StateTheConvertersDefaults) {
    const std::string ini = ShippedIni();
    ASSERT_FALSE(ini.empty()) << "installer/i_view32.ini is missing";
    EXPECT_TRUE(SameSettings(ParseConverterSettings(ini), ConverterSettings{}))
        << "the shipped file and the converter's built-in defaults disagree";
}

TEST(ShippedConverterSettings, EveryValueLineTakesEffectWhenEdited) {
    // A value for each key that differs from its default.
    const std::map<std::string, std::string> edited = {{"Quality", "50"},
                                                       {"Subsampling", "420"},
                                                       {"Dither", "0"},
                                                       {"Level", "9"},
                                                       {"Compression", "None"}};
    const std::string ini = ShippedIni();
    std::istringstream lines(ini);
    std::string line;
    int valueLines = 0;
    std::size_t offset = 0;
    while (std::getline(lines, line)) {
        const std::size_t lineStart = offset;
        offset += line.size() + 1;
        const std::size_t equals = line.find('=');
        if (line.empty() || line[0] == ';' || line[0] == '[' || equals == std::string::npos)
            continue;
        ++valueLines;
        const std::string key = line.substr(0, equals);
        ASSERT_TRUE(edited.count(key)) << "unexpected key " << key;
        std::string changed = ini;
        changed.replace(lineStart, line.size(), key + "=" + edited.at(key));
        EXPECT_FALSE(SameSettings(ParseConverterSettings(changed), ConverterSettings{}))
            << "editing '" << line << "' changes nothing";
    }
    EXPECT_EQ(valueLines, 5);
}
