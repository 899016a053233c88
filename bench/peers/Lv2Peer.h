// Lv2Peer: an LV2 plug-in found and instantiated through lilv, run in this
// process with the host features it asks for (URID map, options, worker).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Contender.h"

namespace peers {

// uri: the plug-in's URI; controls: control port symbols and values; ports
// not named keep their default.
std::unique_ptr<Instance> createLv2(const std::string& uri,
                                    const std::vector<std::pair<std::string, float>>& controls,
                                    double sampleRate);

// Releases the shared lilv world (at the end of the run).
void releaseLv2();

}  // namespace peers
