#include "tests/unit/support/LockCounter.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>

namespace {
std::atomic<bool> g_watching{false};
std::atomic<long> g_locks{0};
}  // namespace

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using LockFn = int (*)(pthread_mutex_t*);
    static LockFn real = reinterpret_cast<LockFn>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (g_watching.load(std::memory_order_relaxed)) g_locks.fetch_add(1);
    return real(mutex);
}

namespace lock_counter {
void start() {
    g_locks = 0;
    g_watching = true;
}
long stop() {
    g_watching = false;
    return g_locks.load();
}
}  // namespace lock_counter
