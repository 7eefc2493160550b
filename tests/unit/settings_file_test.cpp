#include "mainwindow/settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

using namespace qorvic;

TEST(SettingsFile, MissingFileGivesBlackAndEnglish) {
    const Settings s = ParseSettings(std::nullopt);
    EXPECT_EQ(s.frameColour, 0);
    EXPECT_EQ(s.language, "English");
    const Settings empty = ParseSettings(std::string_view(""));
    EXPECT_EQ(empty.frameColour, 0);
    EXPECT_EQ(empty.language, "English");
}

TEST(SettingsFile, ReadsColourAndLanguage) {
    EXPECT_EQ(ParseSettings(std::string_view("16711680\r\nGerman\r\n")).frameColour, 16711680);
    EXPECT_EQ(ParseSettings(std::string_view("255\r\nGerman\r\n")).language, "German");
    EXPECT_EQ(ParseSettings(std::string_view("  42abc\r\nFrench\r\n")).frameColour, 42);
    EXPECT_EQ(ParseSettings(std::string_view("-5\r\nDutch")).frameColour, -5);
    EXPECT_EQ(ParseSettings(std::string_view("12.5\r\n")).frameColour, 12) << "halves to even";
    EXPECT_EQ(ParseSettings(std::string_view("13.5\r\n")).frameColour, 14);
}

TEST(SettingsFile, FirstLineWithoutANumberIsBlack) {
    const Settings s = ParseSettings(std::string_view("red\r\nSpanish\r\n"));
    EXPECT_EQ(s.frameColour, 0);
    EXPECT_EQ(s.language, "Spanish");
}

TEST(SettingsFile, ColourBeyond32BitsKeepsTheDesignedColourButReadsTheLanguage) {
    const Settings s = ParseSettings(std::string_view("4294967296\r\nPolish\r\n"));
    EXPECT_FALSE(s.frameColour.has_value());
    EXPECT_EQ(s.language, "Polish");
    EXPECT_FALSE(ParseSettings(std::string_view("1e999\r\n")).frameColour.has_value());
}

TEST(SettingsFile, FieldRulesForTheLanguageLine) {
    EXPECT_EQ(ParseSettings(std::string_view("0\r\nSpanish,more text\r\n")).language, "Spanish");
    EXPECT_EQ(ParseSettings(std::string_view("0\r\n   \r\n")).language, "English");
    EXPECT_EQ(ParseSettings(std::string_view("0\r\n3\r\n")).language, "English");
    EXPECT_EQ(ParseSettings(std::string_view("0\r\n12\r\n")).language, "English");
    EXPECT_EQ(ParseSettings(std::string_view("0\r\n0\r\n")).language, "0");
    EXPECT_EQ(ParseSettings(std::string_view("0\r\n-2\r\n")).language, "-2");
    EXPECT_EQ(ParseSettings(std::string_view("0\r\n\"Rus,sian\"tail\r\n")).language, "Rus,sian");
    EXPECT_EQ(ParseSettings(std::string_view("0\r\n  Japanese\r\nignored\r\n")).language,
              "Japanese");
    EXPECT_EQ(ParseSettings(std::string_view("0\nGerman\n")).language, "German")
        << "LF-only line ends still end a field";
}

TEST(SettingsFile, OneLineFileTakesTheColourAndEnglish) {
    const Settings s = ParseSettings(std::string_view("255"));
    EXPECT_EQ(s.frameColour, 255);
    EXPECT_EQ(s.language, "English");
    // A comma on the first line makes the rest of it the second field.
    EXPECT_EQ(ParseSettings(std::string_view("255,Dutch\r\n")).language, "Dutch");
}

TEST(SettingsFile, QuotedFieldsDropTheirQuotes) {
    FieldReader reader("  \"a, b\" , c\r\n\"unterminated");
    EXPECT_EQ(reader.Next(), "a, b");
    EXPECT_EQ(reader.Next(), "c");
    EXPECT_EQ(reader.Next(), "unterminated");
    EXPECT_EQ(reader.Next(), std::nullopt);
}

TEST(SettingsFile, WriterWritesTheExactBytes) {
    EXPECT_EQ(FormatSettings(0, "English"), std::string("0\r\nEnglish\r\n"));
    EXPECT_EQ(FormatSettings(-16777216, "0"), std::string("-16777216\r\n0\r\n"));
}

TEST(SettingsFile, EveryColourReadsBackExactly) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
    std::vector<std::int32_t> colours = {0, 1, -1, 255, 16777215, 16776960, INT32_MAX, INT32_MIN};
    for (int i = 0; i < 2000; ++i)
        colours.push_back(any(random));
    for (std::int32_t colour : colours) {
        const Settings s = ParseSettings(FormatSettings(colour, "Russian"));
        ASSERT_EQ(s.frameColour, colour);
        ASSERT_EQ(s.language, "Russian");
    }
}

#include "mainwindow/frame_colour.h"

TEST(FrameColour, StoredValuesMapToColoursOrNothing) {
    EXPECT_EQ(ClassifyColour(16711680).kind, FrameColour::Kind::Rgb);
    EXPECT_EQ(ClassifyColour(16711680).value, 0x00FF0000u);
    EXPECT_EQ(ClassifyColour(0).kind, FrameColour::Kind::Rgb);
    const FrameColour system = ClassifyColour(static_cast<std::int32_t>(0x8000000Fu));
    EXPECT_EQ(system.kind, FrameColour::Kind::System);
    EXPECT_EQ(system.value, 15u);
    EXPECT_EQ(ClassifyColour(static_cast<std::int32_t>(0x8000001Fu)).kind,
              FrameColour::Kind::Invalid);
    EXPECT_EQ(ClassifyColour(-1).kind, FrameColour::Kind::Invalid);
    EXPECT_EQ(ClassifyColour(0x01000000).kind, FrameColour::Kind::Invalid);
}
