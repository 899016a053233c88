// The exported entry point: VSTPluginMain, also exported as main for hosts
// that still look for the older name.
#include "frame/PluginFactory.h"
#include "frame/VstEntry.h"

#include <new>

extern "C" KORVEX_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    // A host that answers 0 to the version query is not a VST 2 host.
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = createEffectInstance(host);
    return effect ? effect->getAeffect() : nullptr;
}
