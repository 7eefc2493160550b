#include "frame/frame_colour.h"
#include "frame/settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace qorvic;

TEST(SettingsFile, ReadsColourAndLanguageByTheFieldRules) {
    const struct {
        std::optional<std::string_view> file;
        std::optional<std::int32_t> colour;
        const char* language;
    } cases[] = {
        {std::nullopt, 0, "English"}, // no file: black and English
        {"", 0, "English"},
        {"16711680\r\nGerman\r\n", 16711680, "German"},
        {"  42abc\r\nFrench\r\n", 42, "French"},
        {"-5\r\nDutch", -5, "Dutch"},
        {"13.5\r\n", 14, "English"},          // rounded, halves to even (the numeric tests' part)
        {"red\r\nSpanish\r\n", 0, "Spanish"}, // no number is black
        // Beyond 32 bits: the designed colour stays, the language is still read.
        {"4294967296\r\nPolish\r\n", std::nullopt, "Polish"},
        {"255", 255, "English"},
        {"255,Dutch\r\n", 255, "Dutch"}, // a comma makes the rest of the line the second field
        {"0\r\nSpanish,more text\r\n", 0, "Spanish"},
        {"0\r\n   \r\n", 0, "English"},
        {"0\r\n12\r\n", 0, "English"},
        {"0\r\n0\r\n", 0, "0"},
        {"0\r\n-2\r\n", 0, "-2"},
        {"0\r\n\"Rus,sian\"tail\r\n", 0, "Rus,sian"},
        {"0\r\n  Japanese\r\nignored\r\n", 0, "Japanese"},
        {"0\nGerman\n", 0, "German"}, // LF-only line ends still end a field
    };
    for (const auto& c : cases) {
        const Settings s = ParseSettings(c.file);
        EXPECT_EQ(s.frameColour, c.colour) << c.file.value_or("(no file)");
        EXPECT_EQ(s.language, c.language) << c.file.value_or("(no file)");
    }
}

TEST(SettingsFile, WritesTheExactBytes) {
    EXPECT_EQ(FormatSettings(0, "English"), std::string("0\r\nEnglish\r\n"));
    EXPECT_EQ(FormatSettings(-16777216, "0"), std::string("-16777216\r\n0\r\n"));
    // That every colour and name reads back is the settings round-trip fuzz target's job.
}

TEST(FrameColour, StoredValuesMapToColoursOrNothing) {
    const struct {
        std::uint32_t stored;
        FrameColour::Kind kind;
        std::uint32_t value;
    } cases[] = {
        {16711680, FrameColour::Kind::Rgb, 0x00FF0000}, {0, FrameColour::Kind::Rgb, 0},
        {0x8000001E, FrameColour::Kind::System, 30},    {0x8000001F, FrameColour::Kind::Invalid, 0},
        {0xFFFFFFFF, FrameColour::Kind::Invalid, 0},    {0x01000000, FrameColour::Kind::Invalid, 0},
    };
    for (const auto& c : cases) {
        const FrameColour colour = ClassifyColour(static_cast<std::int32_t>(c.stored));
        EXPECT_EQ(colour.kind, c.kind) << std::hex << c.stored;
        if (c.kind != FrameColour::Kind::Invalid) {
            EXPECT_EQ(colour.value, c.value) << std::hex << c.stored;
        }
    }
}
