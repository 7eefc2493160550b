// The eight shipped language files, decoded here strictly with iconv in each
// file's code page. Windows builds load the same files through the program's
// own decoder and compare them with their UTF-8 sources and the folder listing
// (tests/win/languages_loader_test.cpp).
#if __has_include(<iconv.h>)

#include "base/version.h"
#include "languages.h"
#include "languages/language_file.h"

#include <iconv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using namespace qorvic;
using namespace qorvic::testing;

namespace {

const std::filesystem::path kLangDir =
    std::filesystem::path(QORVIC_TEST_DATA).parent_path().parent_path() / "lang";

std::optional<std::string> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Strict decoding: an invalid or unmapped byte sequence makes it fail, so a
// file stored in the wrong code page cannot pass.
std::optional<std::wstring> Iconv(std::string_view bytes, unsigned codePage) {
    const std::string from = codePage == kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("WCHAR_T", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string in(bytes);
    std::wstring out(in.size() + 4, L'\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(wchar_t);
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft / sizeof(wchar_t));
    return out;
}

} // namespace

TEST(ShippedLanguageFiles, EachParsesCompletelyInItsOwnCodePage) {
    for (const std::wstring& language : kEightLanguages) {
        SCOPED_TRACE(Narrow(language));
        const std::optional<std::string> bytes = ReadBytes(kLangDir / LanguageFileName(language));
        ASSERT_TRUE(bytes.has_value());

        // CR LF everywhere, no lone line feed or carriage return, no byte-order mark.
        EXPECT_EQ(ChooseLanguageDecoding(language, *bytes).skipBytes, 0u);
        EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\r'), 20);
        EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\n'), 20);
        for (std::size_t at = bytes->find('\r'); at != std::string::npos;
             at = bytes->find('\r', at + 1))
            ASSERT_EQ(bytes->substr(at, 2), "\r\n") << "at byte " << at;

        bool decodedStrictly = true;
        const LanguageDecoder decode = [&](std::string_view b, unsigned cp) {
            const std::optional<std::wstring> text = Iconv(b, cp);
            decodedStrictly = decodedStrictly && text.has_value();
            return text.value_or(L"");
        };
        const LanguageLoadResult r = LoadLanguageTexts(LanguageTexts{}, language, bytes, decode,
                                                       kVersionTag, kEightLanguages);
        EXPECT_TRUE(decodedStrictly);
        ASSERT_EQ(r.stop, LanguageLoadStop::Complete);
        EXPECT_FALSE(r.wrongVersion);
        EXPECT_EQ(r.reader.LangLineNo, 19);

        const LanguageTexts& t = r.texts;
        std::vector<std::wstring> shown = NonMenuTexts(t);
        shown.insert(shown.end(), t.LanguageMenu.begin(), t.LanguageMenu.end());
        shown.push_back(r.optionsCaption.value_or(L""));
        shown.push_back(r.screenCaption.value_or(L""));
        for (const std::wstring& s : shown) {
            EXPECT_FALSE(s.empty() || s == L"=" || s == L" ");
            EXPECT_EQ(s.find_first_of(L"\uFFFD<\r\n"), std::wstring::npos)
                << "nothing undecodable, hidden or broken";
            EXPECT_NE(s.front(), L' ') << "the separator after \"=\" is one character";
        }
        // The two submenu rows show their arrow.
        EXPECT_NE(t.TxtFormats.find(L'>'), std::wstring::npos);
        EXPECT_NE(t.TxtLanguages.find(L'>'), std::wstring::npos);
        // Eight different names.
        std::vector<std::wstring> names = t.LanguageMenu;
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
        if (language == L"English") { // as designed, and as the program has them built in
            EXPECT_EQ(t.LanguageMenu, kEightLanguages);
            EXPECT_EQ(NonMenuTexts(t), NonMenuTexts(EnglishMenuTexts()));
            const LanguageLoadResult builtIn = LoadLanguageTexts(
                LanguageTexts{}, language, std::nullopt, decode, kVersionTag, kEightLanguages);
            EXPECT_EQ(NonMenuTexts(builtIn.texts), NonMenuTexts(t));
            EXPECT_EQ(r.optionsCaption, L"Options");
            EXPECT_EQ(builtIn.optionsCaption, r.optionsCaption);
            EXPECT_EQ(builtIn.screenCaption, r.screenCaption);
        }
    }
}

#endif
