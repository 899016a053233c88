// The frame's factory seam: creates one KORVEX52 instance.
#include "frame/PluginFactory.h"

#include <new>

#include "plugin/CPlug.h"

AudioEffect* createEffectInstance(audioMasterCallback host) {
    return new (std::nothrow) ZEPHRA2F9C41D07::CPlug(host, ZEPHRA2F9C41D07::kNumPrograms,
                                                     ZEPHRA2F9C41D07::kNumParameters);
}
