// korvex-host render [options] PLUGIN [IN.wav] OUT.wav: runs audio through
// the plug-in the way an offline host does, then renders the reverb's tail.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/host/Commands.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/PluginLibrary.h"
#include "tools/host/PluginState.h"
#include "tools/host/TestSignal.h"
#include "tools/host/WavFile.h"

namespace {

struct RenderOptions {
    float rate = 0.0f;  // 0: the input file's rate, or 48000 for the test signal
    int block = 512;
    double tailSeconds = 4.0;
    bool bypass = false;
    StateOptions state;  // --bank, --preset, --program, --param
    std::vector<std::string> paths;
};

bool parseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0 && std::isfinite(value);
}

// Answers an empty text when fine, else the one-line complaint.
std::string parseOptions(const Arguments& args, RenderOptions& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        double number = 0.0;
        std::string complaint;
        const int taken = parseStateOption(args, i, o.state, "render", complaint);
        if (taken < 0) return complaint;
        if (taken > 0) continue;
        if (arg == "--bypass") {
            o.bypass = true;
        } else if (arg == "--rate" || arg == "--block" || arg == "--tail") {
            if (!value(v)) return "render: " + arg + " needs a value";
            if (!parseNumber(v, number)) return "render: bad " + arg + " value '" + v + "'";
            if (arg == "--rate") {
                if (number < 1000.0 || number > 768000.0)
                    return "render: --rate " + v + " is outside 1000 to 768000";
                o.rate = static_cast<float>(number);
            } else if (arg == "--block") {
                if (number < 1.0 || number > 65536.0 || number != std::floor(number))
                    return "render: --block " + v + " is not a whole number from 1 to 65536";
                o.block = static_cast<int>(number);
            } else {
                if (number < 0.0 || number > 600.0)
                    return "render: --tail " + v + " is outside 0 to 600 seconds";
                o.tailSeconds = number;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "render: unknown option '" + arg + "'";
        } else {
            o.paths.push_back(arg);
        }
    }
    if (o.paths.size() < 2 || o.paths.size() > 3) return "render: expected PLUGIN [IN.wav] OUT.wav";
    return "";
}

void process(PluginInstance& plug, const StereoAudio& in, StereoAudio& out, int block) {
    const size_t frames = in.frames();
    out.left.assign(frames, 0.0f);
    out.right.assign(frames, 0.0f);
    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    const bool progress = stderrIsTerminal();
    int lastPercent = -1;
    for (size_t at = 0; at < frames; at += block) {
        const size_t n = frames - at < size_t(block) ? frames - at : size_t(block);
        // The last block is padded with silence, as offline hosts do.
        for (int i = 0; i < block; ++i) {
            const bool inside = size_t(i) < n;
            inL[i] = inside ? in.left[at + i] : 0.0f;
            inR[i] = inside ? in.right[at + i] : 0.0f;
        }
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {outL.data(), outR.data()};
        plug.process(ins, outs, block);
        for (size_t i = 0; i < n; ++i) {
            out.left[at + i] = outL[i];
            out.right[at + i] = outR[i];
        }
        const int percent = static_cast<int>(100.0 * double(at + n) / double(frames));
        if (progress && percent != lastPercent) {
            std::fprintf(stderr, "\rrendering %3d%%", percent);
            lastPercent = percent;
        }
    }
    if (progress) std::fprintf(stderr, "\r              \r");
}

}  // namespace

int runTestSignal(const Arguments& args) {
    float rate = 48000.0f;
    std::string path;
    for (size_t i = 0; i < args.size(); ++i) {
        double number = 0.0;
        if (args[i] == "--rate") {
            if (i + 1 >= args.size() || !parseNumber(args[i + 1], number) || number < 1000.0 ||
                number > 768000.0)
                return usageError("testsignal: --rate needs a rate from 1000 to 768000");
            rate = static_cast<float>(number);
            ++i;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return usageError("testsignal: unknown option '" + args[i] + "'");
        } else if (path.empty()) {
            path = args[i];
        } else {
            return usageError("testsignal: unexpected argument '" + args[i] + "'");
        }
    }
    if (path.empty()) return usageError("testsignal: expected OUT.wav");
    std::string error;
    if (!writeFileAtomically(path, encodeWavFloat(makeTestSignal(rate)), error))
        return usageError(error);
    return 0;
}

int runRender(const Arguments& args) {
    RenderOptions o;
    std::string complaint = parseOptions(args, o);
    if (!complaint.empty()) return usageError(complaint);
    const std::string& pluginPath = o.paths[0];
    const std::string& outPath = o.paths.back();

    StereoAudio input;
    std::string error;
    if (o.paths.size() == 3) {
        if (!readWav(o.paths[1], input, error)) return usageError(error);
        if (o.rate > 0.0f && o.rate != input.sampleRate)
            return usageError("render: --rate differs from the input's " +
                              std::to_string(int(input.sampleRate)) + " Hz (no resampling)");
    } else {
        input = makeTestSignal(o.rate > 0.0f ? o.rate : 48000.0f);
    }
    const float rate = input.sampleRate;
    const size_t tailFrames = static_cast<size_t>(o.tailSeconds * rate);
    input.left.resize(input.frames() + tailFrames, 0.0f);
    input.right.resize(input.frames() + tailFrames, 0.0f);

    PluginInstance plug;
    plug.setSampleRate(rate);
    plug.setBlockSize(o.block);
    if (!plug.load(pluginPath, error)) return usageError(error);
    const AEffect* e = plug.effect();
    if (e->numInputs != 2 || e->numOutputs != 2 || !(e->flags & effFlagsCanReplacing))
        return usageError("plug-in '" + pluginPath + "' is not a stereo replacing effect");

    plug.dispatch(effOpen);
    if (!applyState(plug, o.state, error)) return usageError("render: " + error);
    if (o.bypass) plug.dispatch(effSetBypass, 0, 1);
    // The sample rate comes after the state: preparing the plug-in for the rate
    // applies every setting at once, so a render starts at the chosen sound
    // instead of gliding there from the defaults (and bypass is exact from the
    // first sample).
    plug.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    plug.dispatch(effSetBlockSize, 0, o.block);
    plug.dispatch(effMainsChanged, 0, 1);
    plug.dispatch(effStartProcess);
    StereoAudio output;
    output.sampleRate = rate;
    process(plug, input, output, o.block);
    plug.dispatch(effMainsChanged, 0, 0);
    plug.dispatch(effStopProcess);

    if (!writeFileAtomically(outPath, encodeWavFloat(output), error)) return usageError(error);
    return 0;
}
