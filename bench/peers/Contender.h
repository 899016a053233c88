// Contender: one reverb in the side-by-side run, seen as a block processor.
// Each round creates a fresh instance, times only its processing of the
// whole test signal, and destroys it again.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace peers {

constexpr int kMaxBlock = 512;

class Instance {
public:
    virtual ~Instance() = default;
    // Processes frames (1 to kMaxBlock) stereo frames; outputs may not alias inputs.
    virtual void process(const float* inL, const float* inR, float* outL, float* outR,
                         int frames) = 0;
};

struct Contender {
    std::string name;     // as printed
    std::string setting;  // what "about 2 s decay, 30 % mix" means for it
    bool ours = false;
    // A new instance at the given sample rate, or null (the reason on stderr).
    std::function<std::unique_ptr<Instance>(double sampleRate)> create;
};

}  // namespace peers
