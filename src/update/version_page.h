// Reading the version that the maker's home page announces, and comparing it
// with our own. Pure functions over the page's bytes: nothing from the page is
// used except the few characters after the marker.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qorvic {

// A version as major and minor whole numbers: 1.10 is minor ten, so it is newer
// than 1.9 and older than 1.11 (read as a decimal fraction, 1.10 would equal 1.1).
struct Version {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    friend constexpr auto operator<=>(const Version&, const Version&) = default;
};

// The program's own version, "1.10".
inline constexpr Version kRunningVersion{1, 10};

// What the page carries before the version: "Qorvic ver", one separating
// character, then the version in four characters ("Qorvic ver 1.11").
inline constexpr std::string_view kVersionMarker = "Qorvic ver";
inline constexpr std::size_t kVersionTextLength = 4;

// A version found on the page and its characters as the page writes them
// (without the blanks before it or whatever follows it), for the prompt.
struct PageVersion {
    Version version;
    std::string text;
};

// The version of a text such as "1.11", "1.2 ", " 2.0" or "3": blanks, then
// major digits, then optionally "." and minor digits ("2." and "2" are 2.0);
// anything after that is ignored. Empty when no digit leads or a part exceeds
// what a version number can hold.
std::optional<PageVersion> ParseVersionText(std::string_view text);

// The version after the first marker of `page`: the four characters after the
// marker and one separating character (fewer where the page ends). Empty when
// the page has no marker or no version follows it.
std::optional<PageVersion> ReadPageVersion(std::string_view page);
std::optional<Version> ParseVersionPage(std::string_view page);

// True when `offered` is newer than `running`.
constexpr bool IsNewerVersion(Version offered, Version running = kRunningVersion) {
    return offered > running;
}

} // namespace qorvic
