// The program's fixed waits: the interface thread handles no window messages
// during them and they last at least the given time on the monotonic clock
// (midnight or a clock change does not matter), but the thread sleeps instead
// of spinning, so the programs whose windows must repaint meanwhile get the
// processor.
#pragma once

#include <chrono>

namespace qorvic {

void BlockingWait(std::chrono::milliseconds duration);

} // namespace qorvic
