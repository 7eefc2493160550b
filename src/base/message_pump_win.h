// Lets the program's windows handle what is pending, once, and puts a quit
// request back so the main loop still sees it.
#pragma once

namespace qorvic {

void ProcessPendingMessages();

} // namespace qorvic
