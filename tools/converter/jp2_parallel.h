// A parallel loop for the encoder's coarse work items (rows of a wavelet level,
// code-blocks). Threads are started per call: every call carries milliseconds of
// work, so a pool would save nothing measurable.
#pragma once

#include <functional>

namespace conv {

// Number of worker threads for `requested` (0 = one per core, at least 1).
int ResolveThreadCount(int requested);

// Runs fn(i, worker) for every i in [0, count) on up to `threads` threads and
// returns when all are done; `worker` (0 .. threads-1) lets each thread keep its
// own scratch. Items are handed out one at a time, so uneven items balance.
void ParallelFor(int count, int threads, const std::function<void(int item, int worker)>& fn);

} // namespace conv
