// Validation checks of the plug-in's life: the library loaded and unloaded,
// instances made and closed (one after another and several at once), the
// orders in which real hosts call, every opcode with the arguments a host
// would pass, and the texts the plug-in writes into host buffers.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>

#include "tools/host/PluginLibrary.h"
#include "tools/host/validator/CheckAudio.h"
#include "tools/host/validator/Validator.h"

namespace {

// One block of noise through the instance; answers the verdict's complaint.
std::string processNoise(PluginInstance& plug, int frames, uint32_t seed,
                         float bound = kOutputBound) {
    StereoBuffer in(static_cast<size_t>(frames)), out(static_cast<size_t>(frames));
    fillSignal(in, Signal::Noise, seed);
    plug.process(in.pointers(), out.pointers(), frames);
    AudioVerdict verdict;
    verdict.add(out, static_cast<size_t>(frames));
    return verdict.problem(bound);
}

CheckResult libraryLoadsAndUnloads(CheckContext& ctx) {
    const int cycles = ctx.count(10);
    for (int i = 0; i < cycles; ++i) {
        std::string error;
        std::unique_ptr<PluginLibrary> library(PluginLibrary::open(ctx.pluginPath, error));
        if (!library) return CheckResult::fail("load " + std::to_string(i + 1) + ": " + error);
        InstancePtr plug = PluginInstance::create(library->entryPoint());
        if (!plug)
            return CheckResult::fail("load " + std::to_string(i + 1) +
                                     ": the entry point gave no effect");
        plug->start(48000.0f, 512);
        const std::string problem = processNoise(*plug, 512, ctx.seed + i);
        plug->dispatch(effMainsChanged, 0, 0);
        plug.reset();
        if (!problem.empty())
            return CheckResult::fail("load " + std::to_string(i + 1) + ": " + problem);
    }
    return CheckResult::pass(std::to_string(cycles) + " times, one instance each");
}

CheckResult effectRecord(CheckContext& ctx) {
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (!plug) return CheckResult::fail("the entry point gave no effect");
    const AEffect& e = *plug->effect();
    if (!e.dispatcher || !e.setParameter || !e.getParameter || !e.processReplacing)
        return CheckResult::fail("a function of the record is missing");
    if (!(e.flags & effFlagsCanReplacing))
        return CheckResult::fail("processReplacing is not announced (flag 16)");
    if (e.numInputs < 1 || e.numOutputs < 1 || e.numInputs > 64 || e.numOutputs > 64)
        return CheckResult::fail(std::to_string(e.numInputs) + " inputs and " +
                                 std::to_string(e.numOutputs) + " outputs is not an effect");
    if (e.numParams < 0 || e.numParams > 100000 || e.numPrograms < 0 || e.numPrograms > 100000)
        return CheckResult::fail("implausible counts: " + std::to_string(e.numParams) +
                                 " parameters, " + std::to_string(e.numPrograms) + " programs");
    if (e.uniqueID == 0) return CheckResult::fail("the unique id is 0");
    if (e.object == nullptr) return CheckResult::fail("the record's object field is null");
    char detail[128];
    std::snprintf(detail, sizeof(detail), "%d in, %d out, %d parameters, %d programs, flags %d",
                  e.numInputs, e.numOutputs, e.numParams, e.numPrograms, e.flags);
    return CheckResult::pass(detail);
}

CheckResult instancesOneAfterAnother(CheckContext& ctx) {
    const int count = ctx.count(20);
    for (int i = 0; i < count; ++i) {
        InstancePtr plug = PluginInstance::create(ctx.entry);
        if (!plug) return CheckResult::fail("instance " + std::to_string(i + 1) + ": no effect");
        plug->start(44100.0f, 256);
        const std::string problem = processNoise(*plug, 256, ctx.seed + i);
        if (!problem.empty())
            return CheckResult::fail("instance " + std::to_string(i + 1) + ": " + problem);
        plug->dispatch(effMainsChanged, 0, 0);
        plug->dispatch(effStopProcess);
    }
    return CheckResult::pass(std::to_string(count) + " instances");
}

CheckResult instancesAliveTogether(CheckContext& ctx) {
    const int count = 2 + ctx.count(4);
    std::vector<InstancePtr> plugs;
    for (int i = 0; i < count; ++i) {
        plugs.push_back(PluginInstance::create(ctx.entry));
        if (!plugs.back())
            return CheckResult::fail("instance " + std::to_string(i + 1) + ": no effect");
        plugs.back()->start(48000.0f, 512);
    }
    const int params = plugs[0]->effect()->numParams;
    // Each instance gets its own value: a value shared between instances
    // (a static in the plug-in) shows up as the wrong one.
    for (int i = 0; i < count && params > 0; ++i)
        plugs[i]->setParameter(0, static_cast<float>(i + 1) / static_cast<float>(count + 1));
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), ctx.random);
    for (int step = 0; step < count; ++step) {
        for (int i = 0; i < count; ++i) {
            if (!plugs[i]) continue;
            const std::string problem = processNoise(*plugs[i], 512, ctx.seed + i);
            if (!problem.empty())
                return CheckResult::fail("instance " + std::to_string(i + 1) + ": " + problem);
            const float want = static_cast<float>(i + 1) / static_cast<float>(count + 1);
            if (params > 0 && std::fabs(plugs[i]->getParameter(0) - want) > 1e-6f)
                return CheckResult::fail("instance " + std::to_string(i + 1) +
                                         " reads parameter 0 as another instance's value");
        }
        // Closed in an order unlike the one they were made in.
        plugs[order[step]].reset();
    }
    return CheckResult::pass(std::to_string(count) + " at once, closed in shuffled order");
}

CheckResult callsBeforeOpenAndAfterSwitchingOff(CheckContext& ctx) {
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (!plug) return CheckResult::fail("no effect");
    char text[256] = {};
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    // What hosts ask before effOpen.
    plug->dispatch(effGetPlugCategory);
    plug->dispatch(effGetVstVersion);
    plug->dispatch(effGetVendorVersion);
    plug->dispatch(effCanDo, 0, 0, const_cast<char*>("bypass"));
    plug->dispatch(effGetEffectName, 0, 0, text);
    plug->dispatch(effGetProgram);
    plug->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    if (plug->effect()->numParams > 0) {
        plug->dispatch(effGetParamName, 0, 0, text);
        (void)plug->getParameter(0);
    }
    plug->start(48000.0f, 512);
    std::string problem = processNoise(*plug, 512, ctx.seed);
    if (!problem.empty()) return CheckResult::fail("after a start-up: " + problem);
    // After switching off, hosts still read state and names.
    plug->dispatch(effMainsChanged, 0, 0);
    plug->dispatch(effStopProcess);
    void* chunk = nullptr;
    if (plug->effect()->flags & effFlagsProgramChunks) plug->dispatch(effGetChunk, 0, 0, &chunk);
    plug->dispatch(effSetProgram, 0, 0);
    plug->dispatch(effGetProgramName, 0, 0, text);
    if (plug->effect()->numParams > 0) plug->dispatch(effGetParamDisplay, 0, 0, text);
    plug->dispatch(effMainsChanged, 0, 1);
    problem = processNoise(*plug, 512, ctx.seed + 1);
    if (!problem.empty()) return CheckResult::fail("after switching on again: " + problem);
    return CheckResult::pass();
}

CheckResult offlineHostOrder(CheckContext& ctx) {
    // A preset chunk to load, as such a host reads it from a preset file.
    std::vector<unsigned char> preset;
    {
        InstancePtr source = PluginInstance::create(ctx.entry);
        if (!source) return CheckResult::fail("no effect");
        if (source->effect()->numPrograms > 1)
            source->dispatch(effSetProgram, 0, source->effect()->numPrograms - 1);
        if (source->effect()->flags & effFlagsProgramChunks) preset = source->chunk(true);
    }
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (!plug) return CheckResult::fail("no effect");
    const int block = 512;
    plug->dispatch(effGetPlugCategory);
    plug->dispatch(effOpen);
    plug->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    plug->dispatch(effSetBlockSize, 0, block);
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    plug->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    char text[256];
    for (int i = 0; i < plug->effect()->numParams; ++i) {
        plug->setParameter(i, plug->getParameter(i));
        plug->dispatch(effGetParamDisplay, i, 0, text);
    }
    if (!preset.empty() && plug->setChunk(preset, true) == 0)
        return CheckResult::fail("the plug-in refused its own preset chunk");
    plug->dispatch(effMainsChanged, 0, 1);
    plug->dispatch(effStartProcess);
    // One fixed block size, the last block padded with silence.
    const int frames = static_cast<int>(44100.0 * ctx.seconds(1.0)) + 123;
    StereoBuffer in2(block), out2(block);
    AudioVerdict verdict;
    for (int at = 0; at < frames; at += block) {
        fillSignal(in2, Signal::Noise, ctx.seed, static_cast<size_t>(at));
        const int used = std::min(block, frames - at);
        for (int i = used; i < block; ++i) in2.left[i] = in2.right[i] = 0.0f;
        plug->process(in2.pointers(), out2.pointers(), block);
        verdict.add(out2, block);
    }
    plug->dispatch(effMainsChanged, 0, 0);
    plug->dispatch(effStopProcess);  // such hosts stop after the suspend
    const std::string problem = verdict.problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(preset.empty() ? "parameters" : "parameters and a preset chunk");
}

CheckResult dawOrder(CheckContext& ctx) {
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (!plug) return CheckResult::fail("no effect");
    plug->dispatch(effOpen);
    const bool bypass = plug->dispatch(effCanDo, 0, 0, const_cast<char*>("bypass")) == 1;
    for (int i = 0; i < plug->effect()->numParams; ++i) {
        std::vector<unsigned char> properties(152, 0);  // a parameter-properties record
        plug->dispatch(effGetParameterProperties, i, 0, properties.data());
        plug->dispatch(effCanBeAutomated, i);
    }
    plug->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    plug->dispatch(effSetBlockSize, 0, 1024);
    plug->dispatch(effMainsChanged, 0, 1);
    // Saving a session, then loading it: program 0, the bank, between two
    // resumes without a suspend.
    const bool chunks = (plug->effect()->flags & effFlagsProgramChunks) != 0;
    std::vector<unsigned char> bank = chunks ? plug->chunk(false) : std::vector<unsigned char>();
    plug->dispatch(effSetProgram, 0, 0);
    plug->dispatch(effMainsChanged, 0, 1);
    if (chunks && plug->setChunk(bank, false) == 0)
        return CheckResult::fail("the plug-in refused its own bank");
    plug->dispatch(effMainsChanged, 0, 1);
    // The DAW's audio thread: changing block sizes, suspend and resume from there.
    AudioThread audio(*plug, Signal::Noise, ctx.seed, true);
    audio.waitBlocks(ctx.count(200));
    if (bypass) {
        plug->dispatch(effSetBypass, 0, 1);
        audio.waitBlocks(20);
        plug->dispatch(effSetBypass, 0, 0);
        audio.waitBlocks(20);
    }
    const AudioVerdict verdict = audio.stop();
    const std::string problem = verdict.problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(audio.blocks()) + " blocks");
}

// Calls opcode with zero arguments but the buffers a host hands over.
// Opcodes with a real effect on the session get plausible values instead of
// zero (a sample rate of 0 is not something a host sends).
void callWithHostArguments(PluginInstance& plug, VstInt32 op) {
    std::vector<unsigned char> buffer(1024, 0);
    switch (op) {
        case effClose:
        case effEditOpen:
        case effEditClose: return;  // the instance's end and the editor have checks of their own
        case effSetSampleRate: plug.dispatch(op, 0, 0, nullptr, 48000.0f); return;
        case effSetBlockSize: plug.dispatch(op, 0, 512); return;
        case effSetBlockSizeAndSampleRate: plug.dispatch(op, 0, 512, nullptr, 48000.0f); return;
        case effGetChunk: {
            void* data = nullptr;
            plug.dispatch(op, 0, 0, &data);
            return;
        }
        case effEditGetRect: {
            ERect* rect = nullptr;
            plug.dispatch(op, 0, 0, &rect);
            return;
        }
        case effProcessEvents: {
            VstEvents events{};
            plug.dispatch(op, 0, 0, &events);
            return;
        }
        case effSetSpeakerArrangement: {
            VstSpeakerArrangement in{}, out{};
            in.numChannels = out.numChannels = 2;
            plug.dispatch(op, 0, reinterpret_cast<VstIntPtr>(&in), &out);
            return;
        }
        case effGetSpeakerArrangement: {
            VstSpeakerArrangement* in = nullptr;
            VstSpeakerArrangement* out = nullptr;
            plug.dispatch(op, 0, reinterpret_cast<VstIntPtr>(&in), &out);
            return;
        }
        case effCanDo:
        case effString2Parameter: plug.dispatch(op, 0, 0, const_cast<char*>("")); return;
        case effSetProgramName: plug.dispatch(op, 0, 0, const_cast<char*>("Sweep")); return;
        default:
            // Every other opcode gets a zeroed kilobyte: more than any record
            // or text a host passes.
            plug.dispatch(op, 0, 0, buffer.data());
            return;
    }
}

CheckResult everyOpcode(CheckContext& ctx) {
    const VstInt32 last = 127;  // the published opcodes end at 79; the rest are unknown
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (!plug) return CheckResult::fail("no effect");
    for (VstInt32 op = 0; op <= last; ++op) callWithHostArguments(*plug, op);  // before open
    plug->start(48000.0f, 512);
    for (VstInt32 op = 0; op <= last; ++op) callWithHostArguments(*plug, op);
    plug->dispatch(effMainsChanged, 0, 1);
    std::string problem = processNoise(*plug, 512, ctx.seed);
    if (!problem.empty()) return CheckResult::fail("while on: " + problem);
    plug->dispatch(effMainsChanged, 0, 0);
    for (VstInt32 op = 0; op <= last; ++op) callWithHostArguments(*plug, op);  // switched off
    plug->dispatch(effMainsChanged, 0, 1);
    problem = processNoise(*plug, 512, ctx.seed + 1);
    if (!problem.empty()) return CheckResult::fail("after the sweep: " + problem);
    return CheckResult::pass("opcodes 0 to " + std::to_string(last) + " before open, on and off");
}

CheckResult textsFitHostBuffers(CheckContext& ctx) {
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (!plug) return CheckResult::fail("no effect");
    plug->start(48000.0f, 512);
    const AEffect& e = *plug->effect();
    std::string text;
    // The sizes hosts pass: kVstMaxProgNameLen for program names and (as most
    // hosts do, beyond the 8 the interface suggests) for parameter texts.
    const struct {
        VstInt32 op;
        size_t size;
        const char* what;
    } kIdentity[] = {
        {effGetEffectName, kVstMaxEffectNameLen, "effect name"},
        {effGetVendorString, kVstMaxVendorStrLen, "vendor"},
        {effGetProductString, kVstMaxProductStrLen, "product"},
    };
    for (const auto& id : kIdentity)
        if (!plug->text(id.op, 0, 0, id.size, text))
            return CheckResult::fail(std::string(id.what) + " runs past " +
                                     std::to_string(id.size) + " bytes");
    size_t longestName = 0;
    for (int i = 0; i < e.numParams; ++i) {
        for (VstInt32 op : {effGetParamName, effGetParamLabel}) {
            if (!plug->text(op, i, 0, kVstMaxProgNameLen, text))
                return CheckResult::fail("parameter " + std::to_string(i) +
                                         (op == effGetParamName ? " name" : " label") +
                                         " runs past 24 bytes");
            if (op == effGetParamName) longestName = std::max(longestName, text.size());
        }
        const float before = plug->getParameter(i);
        for (float v : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
            plug->setParameter(i, v);
            if (!plug->text(effGetParamDisplay, i, 0, kVstMaxProgNameLen, text))
                return CheckResult::fail("parameter " + std::to_string(i) + " display at " +
                                         std::to_string(v) + " runs past 24 bytes: '" + text + "'");
        }
        plug->setParameter(i, before);
    }
    for (int p = 0; p < e.numPrograms; ++p)
        if (!plug->text(effGetProgramNameIndexed, p, 0, kVstMaxProgNameLen, text))
            return CheckResult::fail("program " + std::to_string(p) + " name runs past 24 bytes");
    if (!plug->text(effGetProgramName, 0, 0, kVstMaxProgNameLen, text))
        return CheckResult::fail("the current program's name runs past 24 bytes");
    std::string detail = "names, labels, displays and program names";
    if (longestName > static_cast<size_t>(kVstMaxParamStrLen))
        detail += "; parameter names up to " + std::to_string(longestName) +
                  " characters (VST 2.4 suggests 8)";
    return CheckResult::pass(detail);
}

}  // namespace

void addLifecycleChecks(std::vector<Check>& checks) {
    checks.push_back({"library loads and unloads", libraryLoadsAndUnloads, true});
    checks.push_back({"effect record", effectRecord, false});
    checks.push_back({"instances one after another", instancesOneAfterAnother, false});
    checks.push_back({"instances alive together", instancesAliveTogether, false});
    checks.push_back(
        {"calls before open and after switching off", callsBeforeOpenAndAfterSwitchingOff, false});
    checks.push_back({"offline host call order", offlineHostOrder, false});
    checks.push_back({"DAW call order", dawOrder, false});
    checks.push_back({"every opcode with host arguments", everyOpcode, false});
    checks.push_back({"texts fit host buffers", textsFitHostBuffers, false});
}
