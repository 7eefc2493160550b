#include "dpi_checks.h"
#include "update/update_prompt_layout.h"

#include <gtest/gtest.h>

using namespace qorvic;

// 500 twips right of and below the main window at the screen's real twips per
// pixel, halves to even; a missing value counts as 15.
TEST(UpdatePromptPlacement, FiveHundredTwipsRightOfAndBelowTheMainWindow) {
    const struct {
        int twipsX, twipsY, offsetX, offsetY;
    } cases[] = {
        {15, 15, 33, 33},
        {12, 8, 42, 62},
        {10, 10, 50, 50},
        {0, -4, 33, 33},
    };
    for (const auto& c : cases) {
        const Point at = PlacePrompt(-300, 200, c.twipsX, c.twipsY);
        EXPECT_EQ(at.x, -300 + c.offsetX) << c.twipsX;
        EXPECT_EQ(at.y, 200 + c.offsetY) << c.twipsY;
    }
}

TEST(UpdatePromptAtDpi, ControlsKeepTheirSizeFitTheClientAndDoNotOverlap) {
    const PromptGeometry design = PromptGeometryForDpi(96);
    for (const int dpi : qorvic::testing::kDpis) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const PromptGeometry g = PromptGeometryForDpi(dpi);
        EXPECT_TRUE(qorvic::testing::SamePhysicalSize(g.clientWidth, design.clientWidth, dpi));
        EXPECT_TRUE(qorvic::testing::SamePhysicalSize(g.clientHeight, design.clientHeight, dpi));
        const std::pair<Box, Box> boxes[] = {{g.image, design.image},
                                             {g.label, design.label},
                                             {g.yes, design.yes},
                                             {g.no, design.no}};
        for (const auto& [box, designed] : boxes) {
            EXPECT_TRUE(qorvic::testing::SamePhysicalBox(box, designed, dpi));
            EXPECT_TRUE(qorvic::testing::FitsIn(box, g.clientWidth, g.clientHeight));
        }
        EXPECT_FALSE(qorvic::testing::Overlap(g.yes, g.no));
        EXPECT_FALSE(qorvic::testing::Overlap(g.label, g.yes));
        EXPECT_FALSE(qorvic::testing::Overlap(g.label, g.no));
    }
}

TEST(UpdatePromptMessage, LeadInThenProductAndVersion) {
    EXPECT_EQ(UpdateMessage(L"A new version is available: ", "1.11"),
              L"A new version is available: Qorvic 1.11");
    EXPECT_EQ(UpdateMessage(L"", "2.0"), L"Qorvic 2.0") << "before any language is loaded";
}
