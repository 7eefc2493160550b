// File names of the language folder (UTF-16, one per line) through the name
// cutting and the list builder: no crash, and the list does not depend on the
// order the folder was listed in.
#include "fuzz_support.h"

#include "languages/language_list.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::AsUtf16(data, size);
    std::vector<std::wstring> names = fuzz::Lines(text);

    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::wstring& name = names[i];
        const qorvic::LanguageNameCut cut = qorvic::CutLanguageName(name);
        if (cut.isLanguageFile) {
            FUZZ_CHECK(name.rfind(L"Qorvic", 0) == 0);
            FUZZ_CHECK(name.find(cut.name) != std::wstring::npos);
            FUZZ_CHECK(cut.name.find(L'.') == std::wstring::npos);
        } else {
            FUZZ_CHECK(cut.name.empty());
        }
        // The sort's comparison must be a strict weak order, or sorting is undefined.
        // Each name against its neighbour keeps this linear; the sorts below, in
        // three input orders, meet the other pairs.
        FUZZ_CHECK(!qorvic::LessOrdinalIgnoreCase(name, name));
        const std::wstring& next = names[(i + 1) % names.size()];
        FUZZ_CHECK(!(qorvic::LessOrdinalIgnoreCase(name, next) &&
                     qorvic::LessOrdinalIgnoreCase(next, name)));
    }

    const std::vector<std::wstring> list = qorvic::LanguageListFromFileNames(names);
    FUZZ_CHECK(!list.empty() && list.front() == L"English");
    std::vector<std::wstring> reversed(names.rbegin(), names.rend());
    FUZZ_CHECK(qorvic::LanguageListFromFileNames(reversed) == list);
    std::rotate(names.begin(), names.begin() + names.size() / 2, names.end());
    FUZZ_CHECK(qorvic::LanguageListFromFileNames(names) == list);
    return 0;
}
