// The settings file Qorvic.cfg: two text lines, the frame colour as a decimal
// integer and the language name, in the system's ANSI code page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qorvic {

struct Settings {
    // Empty when the first line holds a number beyond 32 bits: the window then
    // keeps its designed colour.
    std::optional<std::int32_t> frameColour;
    std::string language; // bytes in the system code page, after the acceptance rule
};

// Reads the fields one after another with the file's field rules: leading
// blanks skipped, a quoted field runs to the next quote, any other to the
// first comma or line end. Empty when the file ends before the field.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}
    std::optional<std::string> Next();

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// What start-up makes of the file's bytes; `missing` is a file that cannot be opened.
Settings ParseSettings(std::optional<std::string_view> fileBytes);

// The language acceptance rule: empty names and names whose leading number is
// above 0 become "English".
std::string AcceptLanguage(const std::string& language);

// The exact bytes the writer produces: colour, CR LF, language, CR LF.
std::string FormatSettings(std::int32_t frameColour, std::string_view language);

} // namespace qorvic
