// Validation checks with the audio thread running: hostile parameter values,
// two threads automating at once, program switches, chunks saved and
// restored, bypass toggled, and suspend and resume from the audio thread.
// What the audio thread hears must stay finite, bounded and never subnormal.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

#include "tools/host/validator/CheckAudio.h"
#include "tools/host/validator/Validator.h"

namespace {

// Sets random in-range values from a thread of its own until told to stop.
class Automation {
public:
    Automation(PluginInstance& plug, uint32_t seed) : plug_(plug) {
        thread_ = std::thread([this, seed] {
            std::mt19937 random(seed);
            const int params = plug_.effect()->numParams;
            while (!stop_.load() && params > 0) {
                const int i = static_cast<int>(random() % static_cast<unsigned>(params));
                plug_.setParameter(i, std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
                (void)plug_.getParameter(i);
                changes_.fetch_add(1);
                if (changes_.load() % 64 == 0) std::this_thread::yield();
            }
        });
    }
    ~Automation() { stop(); }
    // Waits until n more changes have been made (threads start late under
    // some systems); gives up after 5 s.
    void waitChanges(long n) {
        const long target = changes_.load() + n;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (changes_.load() < target && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    long stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return changes_.load();
    }

private:
    PluginInstance& plug_;
    std::atomic<bool> stop_{false};
    std::atomic<long> changes_{0};
    std::thread thread_;
};

CheckResult hostileParameters(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    const int params = plug->effect()->numParams;
    if (params < 1) return CheckResult::skip("skipped (no parameters)");
    std::vector<float> original(params);
    for (int i = 0; i < params; ++i) original[i] = plug->getParameter(i);
    const float kHostile[] = {std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              1e30f,
                              -1e30f,
                              -0.0f,
                              1e-40f,
                              -1.0f,
                              2.0f};
    const int rounds = ctx.count(300);
    {
        AudioThread audio(*plug, Signal::Noise, ctx.seed);
        for (int n = 0; n < rounds; ++n) {
            const int i = static_cast<int>(ctx.random() % static_cast<unsigned>(params));
            float v;
            switch (n % 3) {
                case 0: v = std::uniform_real_distribution<float>(0.0f, 1.0f)(ctx.random); break;
                case 1: v = std::uniform_real_distribution<float>(-10.0f, 10.0f)(ctx.random); break;
                default: v = kHostile[ctx.random() % (sizeof(kHostile) / sizeof(float))]; break;
            }
            plug->setParameter(i, v);
            // Each value stays until the audio thread has processed with it.
            audio.waitBlocks(1);
        }
        audio.waitBlocks(20);
        const std::string problem = audio.stop().problem(0.0f);
        if (!problem.empty()) return CheckResult::fail("while hostile values arrived: " + problem);
    }
    // Back to sane values, the plug-in must recover its sound.
    for (int i = 0; i < params; ++i) plug->setParameter(i, original[i]);
    AudioThread audio(*plug, Signal::Noise, ctx.seed + 1);
    audio.waitBlocks(200);
    const std::string problem = audio.stop().problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail("after sane values returned: " + problem);
    return CheckResult::pass(std::to_string(rounds) +
                             " values: in and out of 0 to 1, NaN, infinities");
}

CheckResult twoAutomationThreads(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    if (plug->effect()->numParams < 1) return CheckResult::skip("skipped (no parameters)");
    AudioThread audio(*plug, Signal::Noise, ctx.seed);
    long changes = 0;
    {
        Automation a(*plug, ctx.seed + 1), b(*plug, ctx.seed + 2);
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(ctx.seconds(0.5));
        a.waitChanges(ctx.count(2000));
        b.waitChanges(ctx.count(2000));
        audio.waitBlocks(ctx.count(300));
        std::this_thread::sleep_until(end);
        changes = a.stop() + b.stop();
    }
    const std::string problem = audio.stop().problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(changes) + " changes during " +
                             std::to_string(audio.blocks()) + " blocks");
}

CheckResult programsWhileAudioRuns(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    const int programs = plug->effect()->numPrograms;
    if (programs < 1) return CheckResult::skip("skipped (no programs)");
    const int switches = ctx.count(200);
    AudioThread audio(*plug, Signal::Noise, ctx.seed);
    for (int n = 0; n < switches; ++n) {
        plug->dispatch(effSetProgram, 0,
                       static_cast<VstIntPtr>(ctx.random() % static_cast<unsigned>(programs)));
        audio.waitBlocks(1);  // every program is heard
    }
    const std::string problem = audio.stop().problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(switches) + " switches during " +
                             std::to_string(audio.blocks()) + " blocks");
}

CheckResult chunksWhileAudioRuns(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    if (!(plug->effect()->flags & effFlagsProgramChunks))
        return CheckResult::skip("skipped (the plug-in does not use chunks)");
    AudioThread audio(*plug, Signal::Noise, ctx.seed);
    Automation automation(*plug, ctx.seed + 3);
    automation.waitChanges(1);
    audio.waitBlocks(1);
    const int rounds = ctx.count(100);
    for (int n = 0; n < rounds; ++n) {
        const bool preset = n % 2 == 1;
        const std::vector<unsigned char> saved = plug->chunk(preset);
        if (saved.empty()) return CheckResult::fail("no chunk while audio runs");
        if (plug->setChunk(saved, preset) == 0)
            return CheckResult::fail("the plug-in refused its own chunk while audio runs");
        audio.waitBlocks(1);
    }
    automation.stop();
    const std::string problem = audio.stop().problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(rounds) + " saves and restores, automation running");
}

bool canBypass(PluginInstance& plug) {
    return plug.dispatch(effCanDo, 0, 0, const_cast<char*>("bypass")) == 1;
}

CheckResult bypassWhileAudioRuns(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    if (!canBypass(*plug)) return CheckResult::skip("skipped (no soft bypass)");
    const int toggles = ctx.count(60);
    AudioThread audio(*plug, Signal::Noise, ctx.seed);
    for (int n = 0; n < toggles; ++n) {
        plug->dispatch(effSetBypass, 0, n % 2 == 0 ? 1 : 0);
        audio.waitBlocks(2);
    }
    plug->dispatch(effSetBypass, 0, 0);
    const std::string problem = audio.stop().problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(toggles) + " toggles");
}

CheckResult bypassPassesInput(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    if (!canBypass(*plug)) return CheckResult::skip("skipped (no soft bypass)");
    const int delay = plug->effect()->initialDelay;
    plug->dispatch(effSetBypass, 0, 1);
    StereoBuffer in(512), out(512);
    // Half a second for any crossfade to finish, then the comparison.
    size_t frame = 0;
    for (; frame < 24064; frame += 512) {
        fillSignal(in, Signal::Noise, ctx.seed, frame);
        plug->process(in.pointers(), out.pointers(), 512);
    }
    const size_t end = frame + static_cast<size_t>(48000.0 * ctx.seconds(1.0));
    for (; frame < end; frame += 512) {
        fillSignal(in, Signal::Noise, ctx.seed, frame);
        plug->process(in.pointers(), out.pointers(), 512);
        for (int i = 0; i < 512; ++i) {
            // The input as it was `delay` frames earlier.
            StereoBuffer one(1);
            fillSignal(one, Signal::Noise, ctx.seed, frame + i - static_cast<size_t>(delay));
            if (out.left[i] != one.left[0] || out.right[i] != one.right[0])
                return CheckResult::fail("bypassed output differs from the input at frame " +
                                         std::to_string(frame + i));
        }
    }
    return CheckResult::pass(delay ? "the input, delayed by the reported latency"
                                   : "the input, bit for bit");
}

CheckResult suspendResumeFromAudioThread(CheckContext& ctx) {
    InstancePtr plug = started(ctx);
    if (!plug) return CheckResult::fail("no effect");
    AudioThread audio(*plug, Signal::Noise, ctx.seed, true);
    Automation automation(*plug, ctx.seed + 5);
    automation.waitChanges(ctx.count(1000));
    audio.waitBlocks(ctx.count(400));
    automation.stop();
    const std::string problem = audio.stop().problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(audio.blocks() / 16) + " suspends and resumes");
}

}  // namespace

void addThreadChecks(std::vector<Check>& checks) {
    checks.push_back({"hostile parameter values while audio runs", hostileParameters, false});
    checks.push_back({"parameters from two threads while audio runs", twoAutomationThreads, false});
    checks.push_back({"programs switched while audio runs", programsWhileAudioRuns, false});
    checks.push_back({"chunks saved and restored while audio runs", chunksWhileAudioRuns, false});
    checks.push_back({"bypass while audio runs", bypassWhileAudioRuns, false});
    checks.push_back({"bypass passes the input unchanged", bypassPassesInput, false});
    checks.push_back(
        {"suspend and resume from the audio thread", suspendResumeFromAudioThread, false});
}
