#include "jp2_parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace conv {

int ResolveThreadCount(int requested) {
    if (requested > 0) {
        return requested;
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelFor(int count, int threads, const std::function<void(int, int)>& fn) {
    const int workers = std::min(ResolveThreadCount(threads), count);
    if (workers <= 1) {
        for (int i = 0; i < count; ++i) {
            fn(i, 0);
        }
        return;
    }
    std::atomic<int> next{0};
    auto work = [&](int worker) {
        for (int i = next++; i < count; i = next++) {
            fn(i, worker);
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(workers - 1);
    for (int t = 1; t < workers; ++t) {
        pool.emplace_back(work, t);
    }
    work(0);
    for (std::thread& t : pool) {
        t.join();
    }
}

} // namespace conv
