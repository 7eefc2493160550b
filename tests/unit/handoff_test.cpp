#include "capture/handoff.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(HandOff, StripAtNullKeepsTheTextBeforeTheFirstNul) {
    EXPECT_EQ(StripAtNull(std::wstring(L"Norvane\0junk  ", 14)), L"Norvane");
    EXPECT_EQ(StripAtNull(L"no nul"), L"no nul");
    EXPECT_EQ(StripAtNull(std::wstring(L"\0x", 2)), L"");
}

TEST(HandOff, TitlesMatchBySubstringInTheSameCase) {
    EXPECT_TRUE(TitleMatches(L"Norvane Receiver", L"Norvane"));
    EXPECT_TRUE(TitleMatches(L"Session - Norvane 3", L"Norvane"));
    EXPECT_FALSE(TitleMatches(L"norvane receiver", L"Norvane"));
    EXPECT_FALSE(TitleMatches(L"Nor vane", L"Norvane"));
    EXPECT_FALSE(TitleMatches(L"Norvane", L"")) << "an empty search stops without a match";
}
