// Runs the program: loads Form1, shows it and pumps messages until it closes.
#pragma once

#include "mainwindow/form1_win.h"

namespace qorvic {

// `options` stay empty in the program; a test build may fill them.
int RunApplication(int showCommand, Form1::Options options = {});

} // namespace qorvic
