// Counts mutex acquisitions while watching: the test program defines
// pthread_mutex_lock itself (interposition), so every lock taken by our code
// or by a shared library it calls passes through here to the real one.
// Link LockCounter.cpp and -ldl into a test program of its own.
#pragma once

namespace lock_counter {

// Starts counting from zero on every thread; stop() ends it and answers the count.
void start();
long stop();

}  // namespace lock_counter
