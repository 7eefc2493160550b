#include "languages/language_choice.h"

#include "base/version.h"
#include "languages/language_list.h"

namespace qorvic {

void StartLanguages(LanguageState& state, std::vector<std::wstring> fileNames) {
    state.languageList = LanguageListFromFileNames(std::move(fileNames));
    state.texts = BuiltInLanguageTexts(state.languageList);
    state.CurrentLanguage = ConvertLanguageNumber(state.CurrentLanguage);
}

LanguageApply LoadLanguageFrom(LanguageState& state, const LanguageFolder& folder) {
    const std::wstring fileName = LanguageFileName(state.CurrentLanguage);
    std::optional<std::string> bytes;
    if (!fileName.empty())
        bytes = folder.read(fileName);

    LanguageLoadResult result = LoadLanguageTexts(state.texts, state.CurrentLanguage, bytes,
                                                  folder.decode, kVersionTag, state.languageList);
    state.texts = std::move(result.texts);

    LanguageApply apply;
    apply.applyOptions = result.optionsCaption.has_value();
    apply.applyScreen = result.screenCaption.has_value();
    apply.optionsCaption = result.optionsCaption.value_or(L"");
    apply.screenCaption = result.screenCaption.value_or(L"");
    apply.failed = result.stop != LanguageLoadStop::Complete;
    if (apply.failed) {
        // A name outside the eight has no failure texts of its own; the user
        // still gets told, in English, and which file it was.
        apply.failureText = result.selectedFailureText.empty()
                                ? FailureTextsFor(kNamedLanguages.front()).notFound
                                : result.selectedFailureText;
        if (!fileName.empty())
            apply.failureText += L"\n" + folder.path + L"\\" + fileName;
    }
    return apply;
}

LanguageApply SelectLanguageFrom(LanguageState& state, std::int16_t index,
                                 const LanguageFolder& folder) {
    if (index < 0 || static_cast<std::size_t>(index) >= state.languageList.size())
        return {};
    state.CurrentLanguage = state.languageList[static_cast<std::size_t>(index)];
    return LoadLanguageFrom(state, folder);
}

} // namespace qorvic
