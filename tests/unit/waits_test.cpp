#include "base/waits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

using namespace qorvic;

namespace {

std::chrono::nanoseconds ThreadCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace

// The waits before a capture let other programs repaint: the waiting thread
// must hand the processor over, not spin on the clock.
TEST(BlockingWait, LastsItsTimeAndLeavesTheProcessorFree) {
    for (const auto duration : {std::chrono::milliseconds(0), std::chrono::milliseconds(100),
                                std::chrono::milliseconds(250)}) {
        const auto cpuBefore = ThreadCpuTime();
        const auto start = std::chrono::steady_clock::now();
        BlockingWait(duration);
        const auto wall = std::chrono::steady_clock::now() - start;
        const auto cpu = ThreadCpuTime() - cpuBefore;
        EXPECT_GE(wall, duration);
        // Sleeping costs next to nothing; spinning costs its share of a core, a
        // large part of the wall time even on a busy machine.
        if (duration.count() > 0) {
            EXPECT_LT(cpu * 20, wall) << "cpu " << cpu.count() << " ns of " << wall.count();
        }
    }
}
