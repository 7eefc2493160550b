// The converter settings file the installer ships: every line in it must be one
// the converter understands, or a user editing it would change nothing.
#include "converter_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace {

std::string ShippedIni() {
    const std::filesystem::path path =
        std::filesystem::path(QORVIC_TEST_DATA).parent_path().parent_path() / "installer" /
        "i_view32.ini";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool SameSettings(const conv::ConverterSettings& a, const conv::ConverterSettings& b) {
    return a.jpeg.quality == b.jpeg.quality && a.jpeg.subsampleChroma == b.jpeg.subsampleChroma &&
           a.gif.dither == b.gif.dither && a.png.level == b.png.level &&
           a.tiff.compression == b.tiff.compression;
}

TEST(ShippedConverterSettings, StateTheConvertersDefaults) {
    const std::string ini = ShippedIni();
    ASSERT_FALSE(ini.empty()) << "installer/i_view32.ini is missing";
    EXPECT_TRUE(SameSettings(conv::ParseConverterSettings(ini), conv::ConverterSettings{}))
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
        EXPECT_FALSE(SameSettings(conv::ParseConverterSettings(changed), conv::ConverterSettings{}))
            << "editing '" << line << "' changes nothing";
    }
    EXPECT_EQ(valueLines, 5);
}

} // namespace
