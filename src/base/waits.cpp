#include "base/waits.h"

namespace qorvic {

void BusyWait(std::chrono::milliseconds duration) {
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < duration) {
    }
}

} // namespace qorvic
