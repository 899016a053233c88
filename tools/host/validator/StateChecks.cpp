// Validation checks of the plug-in's state: parameters that read back as
// set, programs that keep their values and names, preset and bank chunks
// that survive a round trip byte for byte and sound the same after it, and
// damaged chunks that neither crash the plug-in nor, when refused, change it.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "tools/host/validator/CheckAudio.h"
#include "tools/host/validator/Validator.h"

namespace {

using Bytes = std::vector<unsigned char>;

bool hasChunks(PluginInstance& plug) { return (plug.effect()->flags & effFlagsProgramChunks) != 0; }

float randomValue(CheckContext& ctx) {
    return std::uniform_real_distribution<float>(0.0f, 1.0f)(ctx.random);
}

// Gives every program its own random values, then chooses a random one;
// answers the program chosen (-1 without programs).
int randomState(CheckContext& ctx, PluginInstance& plug) {
    const AEffect& e = *plug.effect();
    for (int p = 0; p < std::max(1, e.numPrograms); ++p) {
        if (e.numPrograms > 0) plug.dispatch(effSetProgram, 0, p);
        for (int i = 0; i < e.numParams; ++i) plug.setParameter(i, randomValue(ctx));
    }
    if (e.numPrograms < 1) return -1;
    const int chosen = static_cast<int>(ctx.random() % static_cast<unsigned>(e.numPrograms));
    plug.dispatch(effSetProgram, 0, chosen);
    return chosen;
}

std::string firstDifference(const Bytes& a, const Bytes& b) {
    if (a.size() != b.size())
        return std::to_string(b.size()) + " bytes instead of " + std::to_string(a.size());
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return "byte " + std::to_string(i) + " differs";
    return "";
}

CheckResult parametersReadBack(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    const int params = plug->effect()->numParams;
    if (params < 1) return CheckResult::skip("skipped (no parameters)");
    const bool exact = ctx.strictness >= 8;
    for (int i = 0; i < params; ++i) {
        const float original = plug->getParameter(i);
        for (float v : {0.0f, 0.1f, 0.5f, 0.9f, 1.0f, randomValue(ctx)}) {
            plug->setParameter(i, v);
            const float got = plug->getParameter(i);
            if (!(got >= 0.0f && got <= 1.0f))
                return CheckResult::fail("parameter " + std::to_string(i) + " set to " +
                                         std::to_string(v) + " reads " + std::to_string(got));
            // Stepped parameters may round, but what they read must be stable.
            plug->setParameter(i, got);
            if (plug->getParameter(i) != got)
                return CheckResult::fail("parameter " + std::to_string(i) +
                                         " does not keep its own value " + std::to_string(got));
            if (exact && got != v)
                return CheckResult::fail("parameter " + std::to_string(i) + " set to " +
                                         std::to_string(v) + " reads " + std::to_string(got));
        }
        plug->setParameter(i, original);
    }
    return CheckResult::pass(exact ? "exactly as set" : "stable and within 0 to 1");
}

// Every program's values, read by choosing it.
std::vector<std::vector<float>> programValues(PluginInstance& plug) {
    const AEffect& e = *plug.effect();
    std::vector<std::vector<float>> values(e.numPrograms, std::vector<float>(e.numParams));
    for (int p = 0; p < e.numPrograms; ++p) {
        plug.dispatch(effSetProgram, 0, p);
        for (int i = 0; i < e.numParams; ++i) values[p][i] = plug.getParameter(i);
    }
    return values;
}

CheckResult programsKeepTheirValues(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    const int programs = plug->effect()->numPrograms;
    if (programs < 1) return CheckResult::skip("skipped (no programs)");
    const auto before = programValues(*plug);
    const int switches = ctx.count(50);
    for (int n = 0; n < switches; ++n) {
        const int p = static_cast<int>(ctx.random() % static_cast<unsigned>(programs));
        plug->dispatch(effSetProgram, 0, p);
        if (plug->dispatch(effGetProgram) != p)
            return CheckResult::fail("chose program " + std::to_string(p) +
                                     ", the plug-in reports " +
                                     std::to_string(plug->dispatch(effGetProgram)));
    }
    if (programValues(*plug) != before)
        return CheckResult::fail("switching programs changed their values");
    return CheckResult::pass(std::to_string(switches) + " switches");
}

CheckResult programNames(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    if (plug->effect()->numPrograms < 1) return CheckResult::skip("skipped (no programs)");
    std::string original, got, indexed;
    plug->text(effGetProgramName, 0, 0, kVstMaxProgNameLen, original);
    char name[64];
    std::snprintf(name, sizeof(name), "%s", "Validator twenty-three");  // 22 characters
    plug->dispatch(effSetProgramName, 0, 0, name);
    if (!plug->text(effGetProgramName, 0, 0, kVstMaxProgNameLen, got) || got != name)
        return CheckResult::fail("renamed to '" + std::string(name) + "', reads '" + got + "'");
    const int current = static_cast<int>(plug->dispatch(effGetProgram));
    plug->text(effGetProgramNameIndexed, current, 0, kVstMaxProgNameLen, indexed);
    if (indexed != got)
        return CheckResult::fail("the indexed name '" + indexed + "' differs from '" + got + "'");
    // A name longer than the field: cut, terminated inside 24 bytes.
    std::snprintf(name, sizeof(name), "%s", "A name of thirty characters!!!");
    plug->dispatch(effSetProgramName, 0, 0, name);
    if (!plug->text(effGetProgramName, 0, 0, kVstMaxProgNameLen, got))
        return CheckResult::fail(
            "a 30-character name comes back without a terminator inside 24 bytes");
    if (std::string(name).compare(0, got.size(), got) != 0)
        return CheckResult::fail("a 30-character name comes back as '" + got + "'");
    std::snprintf(name, sizeof(name), "%s", original.c_str());
    plug->dispatch(effSetProgramName, 0, 0, name);
    return CheckResult::pass();
}

CheckResult chunkRoundTrip(CheckContext& ctx, bool preset) {
    InstancePtr a = started(ctx);
    if (!a) return CheckResult::fail("no effect");
    if (!hasChunks(*a)) return CheckResult::skip("skipped (the plug-in does not use chunks)");
    const int rounds = ctx.count(5);
    for (int round = 0; round < rounds; ++round) {
        randomState(ctx, *a);
        const Bytes saved = a->chunk(preset);
        if (saved.empty()) return CheckResult::fail("no chunk");
        if (a->setChunk(saved, preset) == 0)
            return CheckResult::fail("the plug-in refused its own chunk");
        std::string diff = firstDifference(saved, a->chunk(preset));
        if (!diff.empty()) return CheckResult::fail("restored into the same instance: " + diff);
        InstancePtr b = started(ctx);
        if (b->setChunk(saved, preset) == 0)
            return CheckResult::fail("a fresh instance refused the chunk");
        diff = firstDifference(saved, b->chunk(preset));
        if (!diff.empty()) return CheckResult::fail("restored into a fresh instance: " + diff);
    }
    return CheckResult::pass(std::to_string(rounds) + " random states, " +
                             std::to_string(a->chunk(preset).size()) + "-byte chunk");
}

CheckResult bankRoundTrip(CheckContext& ctx) { return chunkRoundTrip(ctx, false); }
CheckResult presetRoundTrip(CheckContext& ctx) { return chunkRoundTrip(ctx, true); }

// Renders noise through plug after re-preparing it for the rate, which
// applies every setting at once.
StereoBuffer renderFromStart(PluginInstance& plug, uint32_t seed, size_t frames) {
    plug.changeRate(48000.0f);
    StereoBuffer in(512), out(512), all(frames);
    for (size_t at = 0; at < frames; at += 512) {
        const int n = static_cast<int>(std::min<size_t>(512, frames - at));
        fillSignal(in, Signal::Noise, seed, at);
        plug.process(in.pointers(), out.pointers(), n);
        std::copy(out.left.begin(), out.left.begin() + n, all.left.begin() + at);
        std::copy(out.right.begin(), out.right.begin() + n, all.right.begin() + at);
    }
    return all;
}

CheckResult restoredStateSoundsTheSame(CheckContext& ctx) {
    InstancePtr a = started(ctx);
    if (!a) return CheckResult::fail("no effect");
    if (!hasChunks(*a)) return CheckResult::skip("skipped (the plug-in does not use chunks)");
    const int program = randomState(ctx, *a);
    const Bytes bank = a->chunk(false);
    const Bytes preset = a->chunk(true);
    const size_t frames = static_cast<size_t>(48000.0 * ctx.seconds(1.0));
    const StereoBuffer original = renderFromStart(*a, ctx.seed, frames);

    InstancePtr fromBank = started(ctx);
    fromBank->setChunk(bank, false);
    if (program >= 0) fromBank->dispatch(effSetProgram, 0, program);
    InstancePtr fromPreset = started(ctx);
    fromPreset->setChunk(preset, true);
    const struct {
        PluginInstance* plug;
        const char* what;
    } kRestored[] = {{fromBank.get(), "restored from the bank"},
                     {fromPreset.get(), "restored from the preset"}};
    for (const auto& r : kRestored) {
        const StereoBuffer again = renderFromStart(*r.plug, ctx.seed, frames);
        for (size_t i = 0; i < frames; ++i)
            if (again.left[i] != original.left[i] || again.right[i] != original.right[i])
                return CheckResult::fail(std::string(r.what) + ", the output differs from frame " +
                                         std::to_string(i));
    }
    return CheckResult::pass("bit-exact from the bank and from the preset");
}

CheckResult damagedChunks(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    if (!hasChunks(*plug)) return CheckResult::skip("skipped (the plug-in does not use chunks)");
    const Bytes bank = plug->chunk(false);
    const Bytes preset = plug->chunk(true);
    std::vector<Bytes> damaged;
    for (size_t size : {0, 1, 3, 4, 7, 8, 79, 80, 81, 799, 800, 801, 4096, 65536}) {
        Bytes b(size);
        for (auto& byte : b) byte = static_cast<unsigned char>(ctx.random());
        damaged.push_back(b);
    }
    const int mutations = ctx.count(40);
    for (int n = 0; n < mutations; ++n) {
        Bytes b = (n % 2) ? bank : preset;
        if (b.empty()) continue;
        const int kind = static_cast<int>(ctx.random() % 3);
        if (kind == 0) b.resize(ctx.random() % b.size());                      // cut short
        else if (kind == 1) b.resize(b.size() + 1 + ctx.random() % 64, 0x55);  // too long
        for (int flips = 1 + static_cast<int>(ctx.random() % 8); flips > 0 && !b.empty(); --flips)
            b[ctx.random() % b.size()] ^= static_cast<unsigned char>(1u << (ctx.random() % 8));
        damaged.push_back(b);
    }
    int refused = 0;
    for (const Bytes& b : damaged) {
        for (bool asPreset : {true, false}) {
            const Bytes before = plug->chunk(false);
            if (plug->setChunk(b, asPreset) == 0) {
                ++refused;
                if (plug->chunk(false) != before)
                    return CheckResult::fail("a refused chunk of " + std::to_string(b.size()) +
                                             " bytes changed the state");
            }
            // Whatever was taken in must still give sound, bounded output.
            StereoBuffer in(256), out(256);
            fillSignal(in, Signal::Noise, ctx.seed);
            plug->process(in.pointers(), out.pointers(), 256);
            AudioVerdict verdict;
            verdict.add(out, 256);
            const std::string problem = verdict.problem(kOutputBound);
            if (!problem.empty())
                return CheckResult::fail("after a damaged chunk of " + std::to_string(b.size()) +
                                         " bytes: " + problem);
        }
    }
    if (plug->chunk(false).empty())
        return CheckResult::fail("no bank chunk after the damaged ones");
    return CheckResult::pass(std::to_string(damaged.size() * 2) + " chunks, " +
                             std::to_string(refused) + " refused without a change");
}

}  // namespace

void addStateChecks(std::vector<Check>& checks) {
    checks.push_back({"parameters read back", parametersReadBack, false});
    checks.push_back({"programs keep their values", programsKeepTheirValues, false});
    checks.push_back({"program names", programNames, false});
    checks.push_back({"bank chunk round trip", bankRoundTrip, false});
    checks.push_back({"preset chunk round trip", presetRoundTrip, false});
    checks.push_back({"restored state sounds the same", restoredStateSoundsTheSame, false});
    checks.push_back({"damaged chunks", damagedChunks, false});
}
