// The program's waits: busy waits on the monotonic clock (no messages handled,
// midnight does not matter) and the single pass over pending messages.
#pragma once

#include <chrono>

namespace qorvic {

void BusyWait(std::chrono::milliseconds duration);

} // namespace qorvic
