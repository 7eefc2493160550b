#include "update/update_prompt_layout.h"

#include <gtest/gtest.h>

using namespace qorvic;

TEST(UpdatePromptPlacement, FiveHundredTwipsRightOfAndBelowTheMainWindow) {
    const Point usual = PlacePrompt(100, 200, 15, 15);
    EXPECT_EQ(usual.x, 133) << "500 / 15 = 33.3 pixels";
    EXPECT_EQ(usual.y, 233);
    const Point large = PlacePrompt(0, 0, 10, 10); // 144 dots per inch
    EXPECT_EQ(large.x, 50);
    EXPECT_EQ(large.y, 50);
    const Point mixed = PlacePrompt(-300, -20, 12, 8);
    EXPECT_EQ(mixed.x, -300 + 42) << "41.7 rounds to 42";
    EXPECT_EQ(mixed.y, -20 + 62) << "500 / 8 = 62.5 rounds to the even 62";
}

TEST(UpdatePromptPlacement, AMissingTwipsValueCountsAsFifteen) {
    const Point p = PlacePrompt(10, 10, 0, -4);
    EXPECT_EQ(p.x, 43);
    EXPECT_EQ(p.y, 43);
}

TEST(UpdatePromptMessage, LeadInThenProductAndVersion) {
    EXPECT_EQ(UpdateMessage(L"A new version is available: ", "1.11"),
              L"A new version is available: Qorvic 1.11");
    EXPECT_EQ(UpdateMessage(L"", "2.0"), L"Qorvic 2.0") << "before any language is loaded";
    EXPECT_EQ(UpdateMessage(L"Neue Version: ", "10"), L"Neue Version: Qorvic 10");
}
