// The audio thread's promise made checkable: on a watched thread every heap
// allocation (a replaced operator new) and, natively, every mutex lock (the
// linker's --wrap of pthread_mutex_lock) is counted. Non-throwing allocations,
// as the engine's delay memory makes, can be made to fail.
#pragma once

#include <cstdint>

namespace realtime_guard {

struct Counts {
    uint64_t allocations = 0, locks = 0;
};
// Watches the calling thread from zero; aborts unless the guard sees an allocation and a lock.
void watchThisThread();
// Stops watching the calling thread; answers what it did while watched.
Counts stopWatching();
// The index-th next non-throwing allocation (0 = the next) and all later fail; -1: none.
void failNothrowAllocationsFrom(int64_t index);

}  // namespace realtime_guard
