// A language file's bytes as the loader meets them: the first byte picks the
// language (one of the eight, or another name), the rest is the file.
#include "fuzz_support.h"

#include "base/version.h"
#include "languages.h"
#include "languages/language_file.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    // The eight, one in the wrong case and one without code page.
    const std::wstring names[] = {L"english", L"Klingon"};
    const std::size_t pick = data[0] % (qorvic::testing::kEightLanguages.size() + 2);
    const std::wstring language =
        pick < 8 ? qorvic::testing::kEightLanguages[pick] : names[pick - 8];
    // The number of list entries decides the language menu's slots: 0 to 15.
    std::vector<std::wstring> listNames;
    for (unsigned i = 0; i < (data[0] >> 4); ++i)
        listNames.push_back(L"L" + std::to_wstring(i));
    const std::optional<std::string> bytes = std::string(fuzz::AsText(data + 1, size - 1));

    qorvic::LanguageTexts current;
    current.TxtCopy = L"before";
    const auto decode = [](std::string_view body, unsigned) {
        return qorvic::testing::Latin1(body);
    };
    const qorvic::LanguageLoadResult result =
        qorvic::LoadLanguageTexts(current, language, bytes, decode, qorvic::kVersionTag, listNames);

    switch (result.stop) {
    case qorvic::LanguageLoadStop::BeforeTexts:
        FUZZ_CHECK(result.texts.TxtCopy == L"before");
        FUZZ_CHECK(!result.optionsCaption && !result.screenCaption);
        break;
    case qorvic::LanguageLoadStop::PartWay:
    case qorvic::LanguageLoadStop::Complete:
        FUZZ_CHECK(result.texts.LanguageMenu.size() == listNames.size());
        FUZZ_CHECK(result.optionsCaption && result.screenCaption);
        break;
    }
    // Whatever the file held, no row of the language menu and no caption is left blank.
    if (result.stop != qorvic::LanguageLoadStop::BeforeTexts) {
        const qorvic::LanguageTexts& t = result.texts;
        std::vector<std::wstring> shown = qorvic::testing::NonMenuTexts(t);
        shown.insert(shown.end(), t.LanguageMenu.begin(), t.LanguageMenu.end());
        shown.push_back(result.optionsCaption.value_or(L""));
        shown.push_back(result.screenCaption.value_or(L""));
        for (const std::wstring& text : shown)
            FUZZ_CHECK(text.find_first_not_of(L" \t\n=>") != std::wstring::npos);
    }
    return 0;
}
