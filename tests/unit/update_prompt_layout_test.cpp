#include "update/update_prompt_layout.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(UpdatePromptPlacement, FiveHundredTwipsRightOfAndBelowTheMainWindow) {
    const PromptPlacement usual = PlacePrompt(100, 200, 15, 15);
    EXPECT_EQ(usual.left, 133) << "500 / 15 = 33.3 pixels";
    EXPECT_EQ(usual.top, 233);
    const PromptPlacement large = PlacePrompt(0, 0, 10, 10); // 144 dots per inch
    EXPECT_EQ(large.left, 50);
    EXPECT_EQ(large.top, 50);
    const PromptPlacement mixed = PlacePrompt(-300, -20, 12, 8);
    EXPECT_EQ(mixed.left, -300 + 42) << "41.7 rounds to 42";
    EXPECT_EQ(mixed.top, -20 + 62) << "500 / 8 = 62.5 rounds to the even 62";
}

TEST(UpdatePromptPlacement, AMissingTwipsValueCountsAsFifteen) {
    const PromptPlacement p = PlacePrompt(10, 10, 0, -4);
    EXPECT_EQ(p.left, 43);
    EXPECT_EQ(p.top, 43);
}

TEST(UpdatePromptMessage, LeadInThenProductAndVersion) {
    EXPECT_EQ(UpdateMessage(L"A new version is available: ", "1.11"),
              L"A new version is available: Qorvic 1.11");
    EXPECT_EQ(UpdateMessage(L"", "2.0"), L"Qorvic 2.0") << "before any language is loaded";
    EXPECT_EQ(UpdateMessage(L"Neue Version: ", "10"), L"Neue Version: Qorvic 10");
}
