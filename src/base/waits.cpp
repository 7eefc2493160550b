#include "base/waits.h"

#include <thread>

namespace qorvic {

void BlockingWait(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    // A sleep may end early (a timer's granularity, a signal): sleep the rest.
    for (auto now = std::chrono::steady_clock::now(); now < deadline;
         now = std::chrono::steady_clock::now())
        std::this_thread::sleep_for(deadline - now);
}

} // namespace qorvic
