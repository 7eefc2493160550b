// The numeric rules the program's files and layout share: reading the leading
// number of a text, rounding halves to the even neighbour, and conversions to
// 16- and 32-bit integers that report overflow instead of wrapping.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qorvic {

// The longest leading number of `text` after leading blanks: optional sign,
// digits, optional decimal point with digits, optional exponent. 0 when there is none.
double LeadingNumber(std::string_view text);

// Rounds to the nearest integer, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// Rounded (halves to even) and range-checked; empty when the value does not fit.
std::optional<std::int32_t> ToInt32(double value);
std::optional<std::int16_t> ToInt16(double value);

// 16-bit value clamped into range instead of failing, for geometry that must
// stay drawable whatever the input.
std::int16_t ClampToInt16(double value);

} // namespace qorvic
