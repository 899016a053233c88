// The audio thread's promise made checkable: on a watched thread every heap
// allocation (the replaced global operator new) and every mutex lock (the
// linker's --wrap of pthread_mutex_lock and pthread_mutex_trylock, so it also
// sees the product's locks under ThreadSanitizer) is counted. The engine's
// delay memory, asked for without exceptions, can be made to fail.
// A test program links it through tests/unit/support/RealtimeGuard.cmake.
#pragma once

#include <cstdint>

namespace realtime_guard {

struct Counts {
    uint64_t allocations = 0;
    uint64_t locks = 0;
};

// Watches the calling thread, counting from zero. The first call proves that
// allocations and locks are seen, and aborts the program if they are not.
void watchThisThread();
// Stops watching the calling thread; answers what it did while watched.
Counts stopWatching();

// Non-throwing allocations on any thread since the program started.
int64_t nothrowAllocations();
// Makes the non-throwing allocation with this index (0 = the next one) and
// every later one fail; -1 lets all succeed again.
void failNothrowAllocationsFrom(int64_t index);

}  // namespace realtime_guard
