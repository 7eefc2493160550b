// The eight shipped language files, decoded here with iconv in each file's code
// page. Windows builds check the same files through the program's own decoder
// (tests/win/languages_loader_test.cpp).
#if __has_include(<iconv.h>)

#include "languages/language_file.h"
#include "languages/language_list.h"

#include <iconv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using namespace qorvic;

namespace {

const std::filesystem::path kLangDir =
    std::filesystem::path(QORVIC_TEST_DATA).parent_path().parent_path() / "lang";

const std::vector<std::wstring> kLanguages = {L"English",  L"Dutch",  L"French",  L"German",
                                              L"Japanese", L"Polish", L"Russian", L"Spanish"};

std::optional<std::string> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Strict decoding: an invalid or unmapped byte sequence makes it fail, so a
// file stored in the wrong code page cannot pass.
std::optional<std::wstring> Iconv(std::string_view bytes, const char* from) {
    iconv_t cd = iconv_open("WCHAR_T", from);
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

std::string IconvName(unsigned codePage) {
    return codePage == kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(codePage);
}

} // namespace

TEST(ShippedLanguageFiles, EachParsesCompletelyInItsOwnCodePage) {
    for (const std::wstring& language : kLanguages) {
        SCOPED_TRACE(std::string(language.begin(), language.end()));
        const std::filesystem::path path = kLangDir / LanguageFileName(language);
        const std::optional<std::string> bytes = ReadBytes(path);
        ASSERT_TRUE(bytes.has_value()) << path;

        // CR LF everywhere, no lone line feed or carriage return, no byte-order mark.
        EXPECT_EQ(ChooseLanguageDecoding(language, *bytes).skipBytes, 0u);
        std::size_t lines = 0;
        for (std::size_t i = 0; i < bytes->size(); ++i) {
            if ((*bytes)[i] == '\r') {
                ASSERT_TRUE(i + 1 < bytes->size() && (*bytes)[i + 1] == '\n') << "at byte " << i;
                ++lines;
            } else if ((*bytes)[i] == '\n') {
                ASSERT_TRUE(i > 0 && (*bytes)[i - 1] == '\r') << "at byte " << i;
            }
        }
        EXPECT_EQ(lines, 20u);
        EXPECT_EQ(bytes->back(), '\n');

        bool decodedStrictly = true;
        const LanguageDecoder decode = [&](std::string_view b, unsigned cp) {
            std::optional<std::wstring> text = Iconv(b, IconvName(cp).c_str());
            decodedStrictly = decodedStrictly && text.has_value();
            return text.value_or(L"");
        };
        const LanguageLoadResult r =
            LoadLanguageTexts(LanguageTexts{}, language, bytes, decode, kVersionTag, kLanguages);
        EXPECT_TRUE(decodedStrictly);
        ASSERT_EQ(r.stop, LanguageLoadStop::Complete);
        EXPECT_FALSE(r.wrongVersion);
        EXPECT_EQ(r.reader.LangLineNo, 19);

        const LanguageTexts& t = r.texts;
        std::vector<std::wstring> shown = t.LanguageMenu;
        for (const std::wstring* s :
             {&t.TxtHandOff, &t.TxtCopy, &t.TxtSaveAs, &t.TxtFormats, &t.TxtScaling, &t.TxtColour,
              &t.TxtLanguages, &t.TxtNewVersion, &t.TxtEquals})
            shown.push_back(*s);
        shown.push_back(r.optionsCaption.value_or(L""));
        shown.push_back(r.screenCaption.value_or(L""));
        for (const std::wstring& s : shown) {
            EXPECT_FALSE(s.empty() || s == L"=" || s == L" ");
            EXPECT_EQ(s.find(L'\uFFFD'), std::wstring::npos);
            EXPECT_EQ(s.find(L'<'), std::wstring::npos) << "nothing hidden";
            EXPECT_EQ(s.find_first_of(L"\r\n"), std::wstring::npos);
            EXPECT_NE(s.front(), L' ') << "the separator after \"=\" is one character";
        }
        // The two submenu rows show their arrow; the loader adds the separators.
        EXPECT_NE(t.TxtFormats.find(L'>'), std::wstring::npos);
        EXPECT_NE(t.TxtLanguages.find(L'>'), std::wstring::npos);
        EXPECT_EQ(t.TxtScaling.find(L'>'), std::wstring::npos);
        EXPECT_EQ(t.TxtFormats.find(L'='), t.TxtFormats.size() - 1);
        EXPECT_EQ(t.TxtScaling.find(L'='), t.TxtScaling.size() - 1);
        EXPECT_EQ(t.TxtColour.find(L'='), t.TxtColour.size() - 1);
        EXPECT_EQ(t.TxtNewVersion.back(), L' ');
        EXPECT_NE(t.TxtNewVersion[t.TxtNewVersion.size() - 2], L' ');

        // Eight different names, the file's own language among them.
        std::vector<std::wstring> names = t.LanguageMenu;
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
    }
}

TEST(ShippedLanguageFiles, EnglishFileNamesMatchTheListAndTheDesignCaptions) {
    const std::optional<std::string> bytes = ReadBytes(kLangDir / "Qorvic_English.Language");
    ASSERT_TRUE(bytes.has_value());
    const LanguageDecoder decode = [](std::string_view b, unsigned cp) {
        return Iconv(b, IconvName(cp).c_str()).value_or(L"");
    };
    const LanguageLoadResult r =
        LoadLanguageTexts(LanguageTexts{}, L"English", bytes, decode, kVersionTag, kLanguages);
    EXPECT_EQ(r.texts.LanguageMenu, kLanguages);
    EXPECT_EQ(r.optionsCaption, L"Options");
    EXPECT_EQ(r.screenCaption, L"Capture screen");
}

TEST(ShippedLanguageFiles, FolderListingGivesTheStandardOrder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(kLangDir)) {
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().wstring());
    }
    EXPECT_EQ(LanguageListFromFileNames(names), kLanguages);
}

TEST(ShippedLanguageFiles, StoredBytesMatchTheirUtf8Sources) {
    // The Windows files are generated; a hand edit of only one side shows here.
    for (const std::wstring& language : kLanguages) {
        SCOPED_TRACE(std::string(language.begin(), language.end()));
        const std::optional<std::string> shipped = ReadBytes(kLangDir / LanguageFileName(language));
        const std::optional<std::string> source =
            ReadBytes(kLangDir / "src" / (std::string(language.begin(), language.end()) + ".txt"));
        ASSERT_TRUE(shipped && source);
        const unsigned cp = ChooseLanguageDecoding(language, *shipped).codePage;
        const std::optional<std::wstring> fromShipped = Iconv(*shipped, IconvName(cp).c_str());
        const std::optional<std::wstring> fromSource = Iconv(*source, "UTF-8");
        ASSERT_TRUE(fromShipped && fromSource);
        std::wstring expected;
        for (wchar_t c : *fromSource) {
            if (c == L'\n')
                expected += L'\r';
            expected += c;
        }
        EXPECT_TRUE(*fromShipped == expected);
    }
}

#endif
