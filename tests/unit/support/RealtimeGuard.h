// The audio thread's promise made checkable: on a watched thread every heap
// allocation (a replaced global operator new) and every mutex lock (the
// linker's --wrap of pthread_mutex_lock, which also reaches the product's
// locks under ThreadSanitizer; natively only) is counted. The engine's delay
// memory, asked for without exceptions, can be made to fail. Linked through
// RealtimeGuard.cmake.
#pragma once

#include <cstdint>

namespace realtime_guard {

struct Counts {
    uint64_t allocations = 0;
    uint64_t locks = 0;
};
// Watches the calling thread, counting from zero; the first call aborts the
// program unless an allocation and a lock are seen.
void watchThisThread();
// Stops watching the calling thread; answers what it did while watched.
Counts stopWatching();
// Non-throwing allocations on any thread since the program started.
int64_t nothrowAllocations();
// The non-throwing allocation with this index (0 = the next one) and every
// later one fail; -1 lets all succeed again.
void failNothrowAllocationsFrom(int64_t index);

}  // namespace realtime_guard
