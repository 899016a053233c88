// ParameterHandoff: parameter changes on their way from whatever thread the
// plug-in is told of them on to the editor's window thread. The host's
// automation and program loads arrive on its own threads and the overload
// report on the audio thread after every block; none of them may wait for
// the window thread, format a text or draw. So a change is only stored: the
// value whole in its slot, and one bit that says which slot changed. The
// window thread takes the bits when it next looks (its timer, or the pointer
// before it acts) and moves the values into the controls.
#pragma once

#include <atomic>
#include <cstdint>

#include "params/ParameterTable.h"

namespace ZEPHRA2F9C41D07 {

class ParameterHandoff {
public:
    // Every value at its parameter's default, nothing pending, the lamp off.
    ParameterHandoff();

    // Any thread, lock-free, never waits: the value of parameter 0 to 9, or
    // the overload report (kOverload). True when the window thread has
    // something new to take; a steady lamp, reported after every block,
    // costs the audio thread one load and answers false, as does any other index.
    bool store(int32_t index, float value);
    // Window thread: what changed since the last take, as bits (bit i for
    // parameter i, bit kOverload for the lamp); clears them.
    uint32_t take();
    // The last value stored for parameter 0 to 9.
    float value(int32_t index) const { return values[index].load(std::memory_order_relaxed); }
    bool lampLit() const { return lamp.load(std::memory_order_relaxed) != 0; }
    // Window thread, at opening: the lamp starts dark.
    void darkenLamp() { lamp.store(0, std::memory_order_relaxed); }

private:
    std::atomic<float> values[kNumParameters];
    std::atomic<uint32_t> pending{0};
    std::atomic<uint8_t> lamp{0};
};

}  // namespace ZEPHRA2F9C41D07
