// The converter's command line. The program passes its paths unquoted, so they
// may contain spaces; a Windows file name cannot contain '/', which makes the
// markers " /ini=" and " /convert=" unambiguous.
#pragma once

#include <optional>
#include <string>

namespace conv {

struct ConverterArguments {
    std::wstring source; // the bitmap to read
    std::wstring ini;    // the settings folder; empty when the line has no " /ini="
    std::wstring target; // the file to write; its extension names the format
};

// Builds "<exe> <bmp> /ini=<ini> /convert=<target>": single spaces, nothing quoted.
std::wstring BuildConverterCommandLine(const std::wstring& exe, const std::wstring& bmp,
                                       const std::wstring& ini, const std::wstring& target);

// Removes the program's own path from the front of a raw command line. Windows hands
// the line over verbatim, Wine quotes the first token, and the spelling can differ in
// letter case from the module file name, so all three are accepted. When the line
// does not start with `ownPath` at all, the first token ending in ".exe" (or the first
// quoted or blank-delimited token) is taken as the program's path.
std::wstring StripProgramPath(const std::wstring& raw, const std::wstring& ownPath);

// Parses what follows the program path. Empty when the source or the target is missing.
// Each path may also come quoted, as cmd or a shell passes a path with spaces: quotes
// around the path (/ini="C:\a b\ini"), around the whole argument ("/ini=C:\a b\ini")
// or around a part of it.
std::optional<ConverterArguments> ParseConverterArguments(const std::wstring& arguments);

// The receiving program's "/save=<path>" option: the rest of the line after the
// marker, blanks and one pair of quotes around it removed. Empty when absent.
std::wstring ParseSaveOption(const std::wstring& arguments);

} // namespace conv
