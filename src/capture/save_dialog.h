// The save dialog's filters and the rule that gives a typed name its extension.
#pragma once

#include <string>

namespace qorvic {

// The six filters as the dialog wants them: description, NUL, pattern, NUL for
// each, then one more NUL.
std::wstring SaveDialogFilter();

// A path whose fourth character from the end is not "." gets the extension of
// the chosen filter (1 to 6); any other index adds nothing.
std::wstring ApplyFilterExtension(const std::wstring& path, unsigned filterIndex);

// True when the path ends in ".bmp", any case: such a file is written directly.
bool IsBmpPath(const std::wstring& path);

} // namespace qorvic
