// LadspaPeer: a LADSPA plug-in loaded with dlopen and run in this process.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Contender.h"

namespace peers {

// library: path of the .so; label: the plug-in's label in it; controls:
// control port names (as the plug-in spells them) and values; ports not
// named keep their default. Stereo plug-ins get both channels, mono ones
// the left.
std::unique_ptr<Instance> createLadspa(const std::string& library, const std::string& label,
                                       const std::vector<std::pair<std::string, float>>& controls,
                                       double sampleRate);

}  // namespace peers
