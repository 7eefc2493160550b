#include "update/version_page.h"

namespace qorvic {

namespace {

// Versions are short; a part that needs more digits is not a version.
constexpr std::size_t kMaxPartDigits = 9;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digits at `pos` into `value`; false when there are none or too many.
bool ReadNumber(std::string_view text, std::size_t& pos, std::uint32_t& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (pos - start == kMaxPartDigits)
            return false;
        value = value * 10 + static_cast<std::uint32_t>(text[pos] - '0');
        ++pos;
    }
    return pos > start;
}

} // namespace

std::optional<PageVersion> ParseVersionText(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    const std::size_t start = pos;
    PageVersion result;
    if (!ReadNumber(text, pos, result.version.major))
        return std::nullopt;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (pos < text.size() && IsDigit(text[pos]) && !ReadNumber(text, pos, result.version.minor))
            return std::nullopt;
    }
    result.text = std::string(text.substr(start, pos - start));
    return result;
}

std::optional<PageVersion> ReadPageVersion(std::string_view page) {
    const std::size_t marker = page.find(kVersionMarker);
    if (marker == std::string_view::npos)
        return std::nullopt;
    const std::size_t versionStart = marker + kVersionMarker.size() + 1; // after the separator
    if (versionStart >= page.size())
        return std::nullopt;
    return ParseVersionText(page.substr(versionStart, kVersionTextLength));
}

std::optional<Version> ParseVersionPage(std::string_view page) {
    const std::optional<PageVersion> found = ReadPageVersion(page);
    if (!found)
        return std::nullopt;
    return found->version;
}

} // namespace qorvic
