// Runs independent pieces of work on a few threads.
#pragma once

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

namespace conv {

// How many threads to use for `requested` (0: one per core), never more than `pieces`.
inline int ThreadCount(int requested, int pieces) {
    int n = requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(n, 1, std::max(1, pieces));
}

// Calls work(i) for every i in [0, pieces) on `threads` threads; returns when all are done.
inline void ForEachPiece(int pieces, int threads, const std::function<void(int)>& work) {
    if (threads <= 1 || pieces <= 1) {
        for (int i = 0; i < pieces; ++i)
            work(i);
        return;
    }
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            for (int i = t; i < pieces; i += threads)
                work(i);
        });
    }
    for (std::thread& thread : pool)
        thread.join();
}

} // namespace conv
