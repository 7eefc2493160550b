// Runs the program: loads FrameWindow, shows it and pumps messages until it closes.
#pragma once

#include "frame/frame_window_win.h"

namespace qorvic {

// `options` stay empty in the program; a test build may fill them.
int RunApplication(int showCommand, FrameWindow::Options options = {});

// The program's message loop, until WM_QUIT; returns the exit code.
int RunMessageLoop();

} // namespace qorvic
