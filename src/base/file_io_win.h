// Whole-file reads and atomic writes: a file the program writes is written to a
// temporary name in the same folder and renamed into place, so a failure never
// leaves a half-written file under the real name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qorvic {

// Up to `maxBytes` of the file; empty when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path,
                                         std::size_t maxBytes = 16u << 20);

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes);

// A temporary name in the folder of `path`, not yet existing.
std::wstring TemporarySibling(const std::wstring& path);

// The full path of our own executable; empty if Windows cannot say.
std::wstring ModulePath();

bool FolderExists(const std::wstring& path);
bool PathExists(const std::wstring& path);

// Text in the system ANSI code page <-> UTF-16.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

} // namespace qorvic
