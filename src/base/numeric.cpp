#include "base/numeric.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace qorvic {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t intStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    bool digits = i > intStart;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (j > i + 1 || digits) {
            digits = digits || j > i + 1;
            i = j;
        }
    }
    if (!digits)
        return 0.0;
    // An exponent counts only when it has at least one digit ("42e" reads as 42).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t expDigits = j;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (j > expDigits)
            i = j;
    }
    // strtod wants a terminated buffer; the number is copied out of the view.
    const std::string number(text.substr(start, i - start));
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value
                                : (value > 0 ? std::numeric_limits<double>::max()
                                             : std::numeric_limits<double>::lowest());
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1.0;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<std::int32_t> ToInt32(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = RoundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::optional<std::int16_t> ToInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = RoundHalfEven(value);
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::int16_t ClampToInt16(double value) {
    if (std::isnan(value))
        return 0;
    const double r = RoundHalfEven(value);
    if (r <= -32768.0)
        return -32768;
    if (r >= 32767.0)
        return 32767;
    return static_cast<std::int16_t>(r);
}

} // namespace qorvic
