// The validation battery of `korvex-host validate`: checks that any VST 2.4
// effect can be put through, scaled by a strictness from 1 to 10 (counts and
// durations grow with it). Each check answers pass, fail or skip with a short
// reason; the command prints one line per check.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tools/host/PluginInstance.h"

struct CheckContext {
    std::string pluginPath;
    VstPluginMainProc entry = nullptr;  // from the library the battery keeps loaded
    int strictness = 5;                 // 1 to 10
    uint32_t seed = 1;
    bool requireEditor = false;  // an editor that opens no window fails instead of skipping
    std::mt19937 random;

    // base at strictness 5, scaled linearly, at least 1.
    int count(int base) const {
        const int n = base * strictness / 5;
        return n > 0 ? n : 1;
    }
    // base seconds at strictness 5, scaled linearly.
    double seconds(double base) const { return base * strictness / 5.0; }
};

struct CheckResult {
    enum class Status { Pass, Fail, Skip };
    Status status = Status::Pass;
    std::string detail;  // for a pass: what was covered; otherwise the reason

    static CheckResult pass(std::string what = "") { return {Status::Pass, std::move(what)}; }
    static CheckResult fail(std::string why) { return {Status::Fail, std::move(why)}; }
    static CheckResult skip(std::string why) { return {Status::Skip, std::move(why)}; }
};

using CheckFunction = CheckResult (*)(CheckContext&);

struct Check {
    const char* name;
    CheckFunction run;
    bool loadsLibraryItself;  // runs while the battery's own library is unloaded
};

using InstancePtr = std::unique_ptr<PluginInstance>;

// A fresh instance started as an offline host starts it (48 kHz, blocks of
// up to 1024 frames); null when the entry point gives no effect.
inline InstancePtr started(const CheckContext& ctx) {
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (plug) plug->start(48000.0f, 1024);
    return plug;
}

// The checks of each group, in the order they run.
void addLifecycleChecks(std::vector<Check>& checks);
void addAudioChecks(std::vector<Check>& checks);
void addStateChecks(std::vector<Check>& checks);
void addThreadChecks(std::vector<Check>& checks);
void addEditorChecks(std::vector<Check>& checks);
