#include "base/numeric.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(LeadingNumber, ReadsTheLongestLeadingNumber) {
    EXPECT_EQ(LeadingNumber("  42abc"), 42.0);
    EXPECT_EQ(LeadingNumber("-17"), -17.0);
    EXPECT_EQ(LeadingNumber("+3.25x"), 3.25);
    EXPECT_EQ(LeadingNumber("1e3"), 1000.0);
    EXPECT_EQ(LeadingNumber("2.5E-1"), 0.25);
    EXPECT_EQ(LeadingNumber("42e"), 42.0);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("7."), 7.0);
}

TEST(LeadingNumber, TextWithoutANumberReadsAsZero) {
    EXPECT_EQ(LeadingNumber(""), 0.0);
    EXPECT_EQ(LeadingNumber("red"), 0.0);
    EXPECT_EQ(LeadingNumber("   "), 0.0);
    EXPECT_EQ(LeadingNumber("-"), 0.0);
    EXPECT_EQ(LeadingNumber("."), 0.0);
    EXPECT_EQ(LeadingNumber("\t5"), 0.0) << "only blanks are skipped";
    EXPECT_EQ(LeadingNumber("English"), 0.0);
}

TEST(LeadingNumber, HugeExponentsStayFinite) {
    EXPECT_GT(LeadingNumber("1e999"), 1e300);
    EXPECT_LT(LeadingNumber("-1e999"), -1e300);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5001), 3.0);
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
