#include "command_line.h"

#include <gtest/gtest.h>

using namespace conv;

namespace {

const std::wstring kExe = L"C:\\Users\\Ann Lee\\AppData\\Roaming\\Qorvic\\i__view32.exe";
const std::wstring kBmp = L"C:\\Users\\Ann Lee\\AppData\\Roaming\\Qorvic\\Temp.bmp";
const std::wstring kIni = L"C:\\Users\\Ann Lee\\AppData\\Roaming\\Qorvic\\ini";
const std::wstring kTarget = L"C:\\Users\\Ann Lee\\Desktop\\Qorvic_1.png";

} // namespace

TEST(ConverterCommandLine, IsBuiltWithSingleSpacesAndNoQuotes) {
    EXPECT_EQ(BuildConverterCommandLine(L"D\\i__view32.exe", L"D\\Temp.bmp", L"D\\ini", L"T.png"),
              L"D\\i__view32.exe D\\Temp.bmp /ini=D\\ini /convert=T.png");
}

TEST(ConverterCommandLine, RoundTripsPathsWithSpacesAsWindowsAndWinePassThem) {
    const std::wstring line = BuildConverterCommandLine(kExe, kBmp, kIni, kTarget);
    const std::wstring asWindows = line;
    const std::wstring asWine = L"\"" + kExe + L"\"" + line.substr(kExe.size());
    for (const std::wstring& raw : {asWindows, asWine}) {
        const auto args = ParseConverterArguments(StripProgramPath(raw, kExe));
        ASSERT_TRUE(args.has_value()) << std::string(raw.begin(), raw.end());
        EXPECT_EQ(args->source, kBmp);
        EXPECT_EQ(args->ini, kIni);
        EXPECT_EQ(args->target, kTarget);
    }
}

TEST(ConverterCommandLine, StripsOwnPathInAnotherSpellingOrCase) {
    const std::wstring rest = L" C:\\a b\\Temp.bmp /ini=C:\\a b\\ini /convert=C:\\x y\\o.gif";
    // Letter case differs from the module name.
    EXPECT_EQ(StripProgramPath(L"c:\\QORVIC DATA\\I__VIEW32.EXE" + rest,
                               L"C:\\Qorvic Data\\i__view32.exe"),
              rest);
    // A short 8.3 name: the first token ending in .exe is the program.
    EXPECT_EQ(
        StripProgramPath(L"C:\\QORVIC~1\\I__VIE~1.EXE" + rest, L"C:\\Qorvic Data\\i__view32.exe"),
        rest);
    // Leading blanks before a quoted program path.
    EXPECT_EQ(StripProgramPath(L"  \"C:\\p q\\i__view32.exe\"" + rest, L"other"), rest);
    // An unterminated quote leaves nothing to parse rather than a wrong source.
    EXPECT_EQ(StripProgramPath(L"\"C:\\p q\\i__view32.exe" + rest, L"other"), L"");
}

TEST(ConverterCommandLine, ParsesOptionalIniAndTrimsSeparatorBlanks) {
    auto args = ParseConverterArguments(L" in put.bmp /convert=out put.tif  ");
    ASSERT_TRUE(args);
    EXPECT_EQ(args->source, L"in put.bmp");
    EXPECT_EQ(args->ini, L"");
    EXPECT_EQ(args->target, L"out put.tif");

    args = ParseConverterArguments(L" a.bmp /convert=b.jpg /ini=c d");
    ASSERT_TRUE(args);
    EXPECT_EQ(args->source, L"a.bmp");
    EXPECT_EQ(args->target, L"b.jpg");
    EXPECT_EQ(args->ini, L"c d");
}

TEST(ConverterCommandLine, RejectsLinesWithoutSourceOrTarget) {
    EXPECT_FALSE(ParseConverterArguments(L""));
    EXPECT_FALSE(ParseConverterArguments(L" a.bmp /ini=x"));
    EXPECT_FALSE(ParseConverterArguments(L" a.bmp /ini=x /convert="));
    EXPECT_FALSE(ParseConverterArguments(L" /ini=x /convert=b.png"));
    EXPECT_FALSE(ParseConverterArguments(L"/convert=b.png"));
}

TEST(ReceiverCommandLine, TakesTheRestOfTheLineAfterTheSaveMarker) {
    EXPECT_EQ(ParseSaveOption(L" /save=C:\\a b\\got it.bmp "), L"C:\\a b\\got it.bmp");
    EXPECT_EQ(ParseSaveOption(L" /save=\"C:\\a b\\got it.bmp\""), L"C:\\a b\\got it.bmp");
    EXPECT_EQ(ParseSaveOption(L""), L"");
    EXPECT_EQ(ParseSaveOption(L" other"), L"");
}
