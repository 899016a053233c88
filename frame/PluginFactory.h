// The one seam between the frame and the plug-in: the entry point creates the
// effect through this function, which the plug-in defines.
#pragma once

#include "frame/AudioEffect.h"

// Creates the plug-in's effect object for the given host; null when it cannot.
AudioEffect* createEffectInstance(audioMasterCallback host);
