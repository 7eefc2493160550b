// Where FrameWindow's controls go for a client size: the top strip, the options
// label and check box in it, and the see-through area with its outline. All
// inputs and results are physical pixels; the designed lengths (margins,
// gaps, the outline and the capture border) are scaled to `dpi`.
#pragma once

#include "base/dpi.h"

#include <optional>

namespace qorvic {

struct MainLayout {
    Box strip;
    int optionsLabelLeft = 10;
    float optionsLabelTop = 0.0f; // centred in the strip, not rounded
    // Empty where the window is too small for the control: it keeps its place.
    std::optional<Box> wholeScreenBox;
    std::optional<Box> seeThroughArea;
};

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int menuBarHeight,
                             int optionsLabelWidth, int optionsLabelHeight, int dpi = kDesignDpi);

// The strip's height and the see-through area as the frame last laid them out.
struct FrameShape {
    int stripHeight = 0;
    Box seeThroughArea;
};

// The outline inside the see-through area: corners (1, 1) and (w - 1, h - 1)
// at 96 DPI, the inset scaled with the DPI.
struct Outline {
    int x1, y1, x2, y2;
};
Outline SeeThroughOutline(int areaWidth, int areaHeight, int dpi = kDesignDpi);

} // namespace qorvic
