#include "command_line.h"

#include <gtest/gtest.h>

using namespace conv;

TEST(ConverterCommandLine, ReadsPathsWithSpacesQuotedOrNot) {
    const std::wstring dir = L"C:\\Users\\Ann Lee\\AppData\\Roaming\\Qorvic\\";
    const std::wstring exe = dir + L"i__view32.exe", bmp = dir + L"Temp.bmp", ini = dir + L"ini",
                       target = L"C:\\Users\\Ann Lee\\Desktop\\Qorvic_1.png";
    auto q = [](const std::wstring& text) { return L"\"" + text + L"\""; };
    // The program's own line, then what cmd passes verbatim as typed and what a
    // shell builds when it quotes each argument holding a space.
    const std::wstring lines[] = {
        BuildConverterCommandLine(exe, bmp, ini, target),
        exe + L" " + q(bmp) + L" /ini=" + ini + L" /convert=" + target,
        exe + L" " + bmp + L" /ini=" + q(ini) + L" /convert=" + target,
        exe + L" " + bmp + L" " + q(L"/ini=" + ini) + L" /convert=" + target,
        exe + L" " + bmp + L" /ini=" + ini + L" /convert=" + q(target),
        exe + L" " + bmp + L" /ini=" + ini + L" " + q(L"/convert=" + target),
        exe + L" " + q(bmp) + L" /ini=" + q(ini) + L" /convert=" + q(target),
        exe + L" " + q(bmp) + L" " + q(L"/ini=" + ini) + L" " + q(L"/convert=" + target),
        // cmd also lets a quote cover just the part with the space.
        exe + L" C:\\Users\\\"Ann Lee\"\\AppData\\Roaming\\Qorvic\\Temp.bmp /ini=" + ini +
            L" /convert=" + target,
    };
    for (const std::wstring& line : lines) {
        // Windows hands the line over as built; Wine quotes the program's path.
        for (const std::wstring& raw : {line, q(exe) + line.substr(exe.size())}) {
            SCOPED_TRACE(std::string(raw.begin(), raw.end()));
            const auto args = ParseConverterArguments(StripProgramPath(raw, exe));
            EXPECT_TRUE(args.has_value());
            if (!args)
                continue;
            EXPECT_EQ(args->source, bmp);
            EXPECT_EQ(args->ini, ini);
            EXPECT_EQ(args->target, target);
        }
    }
}

TEST(ConverterCommandLine, StripsOwnPathInAnotherSpellingOrCase) {
    const std::wstring rest = L" C:\\a b\\Temp.bmp /ini=C:\\a b\\ini /convert=C:\\x y\\o.gif";
    const std::wstring own = L"C:\\Qorvic Data\\i__view32.exe";
    // Letter case differs from the module name.
    EXPECT_EQ(StripProgramPath(L"c:\\QORVIC DATA\\I__VIEW32.EXE" + rest, own), rest);
    // A short 8.3 name: the first token ending in .exe is the program.
    EXPECT_EQ(StripProgramPath(L"C:\\QORVIC~1\\I__VIE~1.EXE" + rest, own), rest);
    // Leading blanks before a quoted program path.
    EXPECT_EQ(StripProgramPath(L"  \"C:\\p q\\i__view32.exe\"" + rest, L"other"), rest);
    // An unterminated quote leaves nothing to parse rather than a wrong source.
    EXPECT_EQ(StripProgramPath(L"\"C:\\p q\\i__view32.exe" + rest, L"other"), L"");
}

TEST(ConverterCommandLine, ParsesOptionalIniTrimsBlanksAndNeedsSourceAndTarget) {
    const struct {
        const wchar_t* line;
        const wchar_t *source, *ini, *target;
    } good[] = {
        {L" in put.bmp /convert=out put.tif  ", L"in put.bmp", L"", L"out put.tif"},
        {L" a.bmp /convert=b.jpg /ini=c d", L"a.bmp", L"c d", L"b.jpg"},
    };
    for (const auto& c : good) {
        const auto args = ParseConverterArguments(c.line);
        ASSERT_TRUE(args);
        EXPECT_EQ(args->source, c.source);
        EXPECT_EQ(args->ini, c.ini);
        EXPECT_EQ(args->target, c.target);
    }
    for (const wchar_t* bad : {L"", L" a.bmp /ini=x", L" a.bmp /ini=x /convert=",
                               L" /ini=x /convert=b.png", L"/convert=b.png"})
        EXPECT_FALSE(ParseConverterArguments(bad)) << bad;
}

TEST(ReceiverCommandLine, TakesTheRestOfTheLineAfterTheSaveMarker) {
    EXPECT_EQ(ParseSaveOption(L" /save=C:\\a b\\got it.bmp "), L"C:\\a b\\got it.bmp");
    EXPECT_EQ(ParseSaveOption(L" /save=\"C:\\a b\\got it.bmp\""), L"C:\\a b\\got it.bmp");
    EXPECT_EQ(ParseSaveOption(L""), L"");
    EXPECT_EQ(ParseSaveOption(L" other"), L"");
}
