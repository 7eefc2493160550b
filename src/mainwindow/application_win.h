// Runs the program: loads Form1, shows it and pumps messages until it closes.
#pragma once

namespace qorvic {

int RunApplication(int showCommand);

} // namespace qorvic
