// LadspaPeer: the LADSPA host. The library stays loaded for the whole run;
// each instance is instantiated, activated, run block by block and cleaned up.
#include "LadspaPeer.h"

#include <dlfcn.h>
#include <ladspa.h>

#include <cstdio>

namespace peers {

namespace {

class LadspaInstance : public Instance {
public:
    LadspaInstance(const LADSPA_Descriptor* d, LADSPA_Handle h) : descriptor_(d), handle_(h) {}
    ~LadspaInstance() override {
        if (active_ && descriptor_->deactivate) descriptor_->deactivate(handle_);
        descriptor_->cleanup(handle_);
    }

    bool connect(const std::vector<std::pair<std::string, float>>& controls) {
        controls_.assign(descriptor_->PortCount, 0.0f);
        for (unsigned long p = 0; p < descriptor_->PortCount; ++p) {
            const LADSPA_PortDescriptor kind = descriptor_->PortDescriptors[p];
            if (LADSPA_IS_PORT_CONTROL(kind)) {
                controls_[p] = defaultValue(p);
                for (const auto& c : controls) {
                    if (c.first == descriptor_->PortNames[p]) controls_[p] = c.second;
                }
                descriptor_->connect_port(handle_, p, &controls_[p]);
            } else if (LADSPA_IS_PORT_INPUT(kind)) {
                audioIn_.push_back(p);
            } else {
                audioOut_.push_back(p);
            }
        }
        if (audioIn_.empty() || audioOut_.size() < 2) {
            std::fprintf(stderr, "LADSPA %s: not a stereo-output effect\n", descriptor_->Label);
            return false;
        }
        if (descriptor_->activate) descriptor_->activate(handle_);
        active_ = true;
        return true;
    }

    void process(const float* inL, const float* inR, float* outL, float* outR,
                 int frames) override {
        // The ports take non-const buffers; the plug-in only reads the inputs.
        descriptor_->connect_port(handle_, audioIn_[0], const_cast<float*>(inL));
        if (audioIn_.size() > 1)
            descriptor_->connect_port(handle_, audioIn_[1], const_cast<float*>(inR));
        descriptor_->connect_port(handle_, audioOut_[0], outL);
        descriptor_->connect_port(handle_, audioOut_[1], outR);
        descriptor_->run(handle_, static_cast<unsigned long>(frames));
    }

private:
    // The port's default from its range hints, as hosts derive it.
    float defaultValue(unsigned long p) const {
        const LADSPA_PortRangeHint& h = descriptor_->PortRangeHints[p];
        const LADSPA_PortRangeHintDescriptor d = h.HintDescriptor;
        const float lo = h.LowerBound;
        const float hi = h.UpperBound;
        switch (d & LADSPA_HINT_DEFAULT_MASK) {
            case LADSPA_HINT_DEFAULT_MINIMUM: return lo;
            case LADSPA_HINT_DEFAULT_LOW: return lo * 0.75f + hi * 0.25f;
            case LADSPA_HINT_DEFAULT_MIDDLE: return (lo + hi) * 0.5f;
            case LADSPA_HINT_DEFAULT_HIGH: return lo * 0.25f + hi * 0.75f;
            case LADSPA_HINT_DEFAULT_MAXIMUM: return hi;
            case LADSPA_HINT_DEFAULT_0: return 0.0f;
            case LADSPA_HINT_DEFAULT_1: return 1.0f;
            case LADSPA_HINT_DEFAULT_100: return 100.0f;
            case LADSPA_HINT_DEFAULT_440: return 440.0f;
            default: return LADSPA_IS_HINT_BOUNDED_BELOW(d) ? lo : 0.0f;
        }
    }

    const LADSPA_Descriptor* descriptor_;
    LADSPA_Handle handle_;
    std::vector<LADSPA_Data> controls_;
    std::vector<unsigned long> audioIn_;
    std::vector<unsigned long> audioOut_;
    bool active_ = false;
};

}  // namespace

std::unique_ptr<Instance> createLadspa(const std::string& library, const std::string& label,
                                       const std::vector<std::pair<std::string, float>>& controls,
                                       double sampleRate) {
    // Loaded once and kept: unloading between rounds would time the loader.
    void* so = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!so) {
        std::fprintf(stderr, "LADSPA: %s\n", dlerror());
        return nullptr;
    }
    auto entry = reinterpret_cast<LADSPA_Descriptor_Function>(dlsym(so, "ladspa_descriptor"));
    if (!entry) {
        std::fprintf(stderr, "LADSPA: %s has no ladspa_descriptor\n", library.c_str());
        return nullptr;
    }
    for (unsigned long i = 0;; ++i) {
        const LADSPA_Descriptor* d = entry(i);
        if (!d) break;
        if (label != d->Label) continue;
        LADSPA_Handle h = d->instantiate(d, static_cast<unsigned long>(sampleRate));
        if (!h) break;
        auto instance = std::make_unique<LadspaInstance>(d, h);
        if (!instance->connect(controls)) return nullptr;
        return instance;
    }
    std::fprintf(stderr, "LADSPA: no plug-in labelled %s in %s\n", label.c_str(), library.c_str());
    return nullptr;
}

}  // namespace peers
