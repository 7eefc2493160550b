#include "capture/handoff.h"

namespace qorvic {

std::wstring StripAtNull(const std::wstring& text) {
    const std::size_t nul = text.find(L'\0');
    return nul == std::wstring::npos ? text : text.substr(0, nul);
}

bool TitleMatches(const std::wstring& title, const std::wstring& search) {
    return !search.empty() && title.find(search) != std::wstring::npos;
}

} // namespace qorvic
