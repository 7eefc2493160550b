// The program's version as the interface shows it and the update check compares it.
#pragma once

namespace qorvic {

inline constexpr wchar_t kVersionTag[] = L"Qorvic  1.10";

} // namespace qorvic
