// Counts what a thread marked as the audio thread must never do: take a lock
// or allocate memory. The counts cover everything linked into the stress
// test: allocations through operator new, and locks through the pthread
// mutex calls that std::mutex and the product's own locks end in.
#pragma once

#include <cstdint>

namespace audio_guard {

// Marks (or unmarks) the calling thread as the audio thread.
void markAudioThread(bool on);
// Locks taken and allocations made on a marked thread since the start.
uint64_t locksTaken();
uint64_t allocations();

}  // namespace audio_guard
