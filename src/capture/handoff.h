// The rules of the hand-off's window search.
#pragma once

#include <string>

namespace qorvic {

// The text up to the first NUL (all of it when there is none).
std::wstring StripAtNull(const std::wstring& text);

// A window matches when the searched text occurs anywhere in its title, in the
// same case; an empty search matches nothing.
bool TitleMatches(const std::wstring& title, const std::wstring& search);

} // namespace qorvic
