// The system's accessibility settings the controls follow. High contrast: when
// the user turned it on, our controls, menus, slider and panel draw with the
// system's colours instead of their designed ones.
#pragma once

#include "controls/control_layout.h"

#include <windows.h>

#include <optional>

namespace qorvic {

// Read at every paint, so switching it on or off shows at the next repaint.
bool HighContrastOn();

// A test decides instead of the system (which Wine cannot switch); nullopt
// gives the decision back to the system.
void OverrideHighContrast(std::optional<bool> on);

// Whether the system shows keyboard cues (focus rectangles) from the start,
// rather than once the keyboard is used.
bool KeyboardCuesOn();

// The system colours the looks of control_layout.h take in high contrast.
controls::Palette SystemPalette();

} // namespace qorvic
