#include "base/numeric.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(LeadingNumber, ReadsTheLongestLeadingNumberOrZero) {
    const std::pair<const char*, double> cases[] = {
        {"  42abc", 42}, {"-17", -17}, {"+3.25x", 3.25}, {"2.5E-1", 0.25}, {"42e", 42},
        {".5", 0.5},     {"7.", 7},    {"", 0},          {"-", 0},         {"\t5", 0},
    }; // only blanks are skipped
    for (const auto& [text, number] : cases)
        EXPECT_EQ(LeadingNumber(text), number) << '"' << text << '"';
    // Huge exponents stay finite.
    EXPECT_GT(LeadingNumber("1e999"), 1e300);
    EXPECT_LT(LeadingNumber("-1e999"), -1e300);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3},
    };
    for (const auto& [x, rounded] : cases)
        EXPECT_EQ(RoundHalfEven(x), rounded) << x;
}

TEST(ToInt32, FitsOrFails) {
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(ToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(ToInt32(2147483647.5).has_value()) << "rounds to 2^31, which does not fit";
    EXPECT_FALSE(ToInt32(-2147483648.6).has_value());
    EXPECT_FALSE(ToInt32(4294967296.0).has_value());
}

TEST(ToInt16, FitsOrFailsAndClampSaturates) {
    EXPECT_EQ(ToInt16(32767.0), 32767);
    EXPECT_FALSE(ToInt16(32767.5).has_value());
    EXPECT_FALSE(ToInt16(-32769.0).has_value());
    EXPECT_EQ(ClampToInt16(1e9), 32767);
    EXPECT_EQ(ClampToInt16(-1e9), -32768);
    EXPECT_EQ(ClampToInt16(10.5), 10);
}
