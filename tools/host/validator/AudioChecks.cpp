// Validation checks of the audio path: every common sample rate, block sizes
// from 0 to 8192, output that does not depend on how the host cuts its
// blocks, processing in place, silence before and after the tail, and
// full-scale noise, DC, Nyquist and denormal-level input. Every sample that
// comes out must be finite and never subnormal.
#include <algorithm>
#include <cmath>
#include <memory>

#include "tools/host/validator/CheckAudio.h"
#include "tools/host/validator/Validator.h"

namespace {

// "Quiet" for the tail: -120 dBFS.
constexpr float kQuiet = 1e-6f;

// An instance with a program chosen before the sample rate, as offline hosts
// do, so processing starts at the program's sound. program -1 keeps the
// plug-in's own start-up state.
InstancePtr prepared(CheckContext& ctx, int program, float rate = 48000.0f, int maxBlock = 8192) {
    InstancePtr plug = PluginInstance::create(ctx.entry);
    if (!plug) return nullptr;
    plug->dispatch(effOpen);
    if (program >= 0) plug->dispatch(effSetProgram, 0, program);
    plug->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    plug->dispatch(effSetBlockSize, 0, maxBlock);
    plug->dispatch(effMainsChanged, 0, 1);
    plug->dispatch(effStartProcess);
    return plug;
}

// Runs frames of signal through plug in blocks of the given sizes (cycled);
// keeps the output when out is given.
AudioVerdict render(PluginInstance& plug, Signal signal, uint32_t seed, size_t frames,
                    const std::vector<int>& blocks, StereoBuffer* out = nullptr) {
    AudioVerdict verdict;
    const int largest = *std::max_element(blocks.begin(), blocks.end());
    StereoBuffer in(static_cast<size_t>(largest)), block(static_cast<size_t>(largest));
    if (out) *out = StereoBuffer(frames);
    size_t at = 0;
    for (size_t n = 0; at < frames; ++n) {
        const size_t framesNow =
            std::min(frames - at, static_cast<size_t>(blocks[n % blocks.size()]));
        fillSignal(in, signal, seed, at);
        plug.process(in.pointers(), block.pointers(), static_cast<int>(framesNow));
        verdict.add(block, framesNow);
        if (out) {
            std::copy(block.left.begin(), block.left.begin() + framesNow, out->left.begin() + at);
            std::copy(block.right.begin(), block.right.begin() + framesNow,
                      out->right.begin() + at);
        }
        at += framesNow;
    }
    return verdict;
}

// The largest difference between two renders; 0 means bit-exact.
double largestDifference(const StereoBuffer& a, const StereoBuffer& b) {
    double worst = 0.0;
    for (size_t i = 0; i < a.frames(); ++i) {
        worst = std::max(worst, std::fabs(double(a.left[i]) - double(b.left[i])));
        worst = std::max(worst, std::fabs(double(a.right[i]) - double(b.right[i])));
    }
    return worst;
}

// Programs to run a check through: all of them at high strictness, fewer
// below; -1 (the start-up state) when the plug-in has none.
std::vector<int> programsFor(CheckContext& ctx, int numPrograms) {
    if (numPrograms < 1) return {-1};
    const int wanted = std::min(numPrograms, ctx.count(numPrograms));
    std::vector<int> list;
    list.reserve(static_cast<size_t>(wanted));
    for (int i = 0; i < wanted; ++i) list.push_back(i * numPrograms / wanted);
    return list;
}

int numPrograms(CheckContext& ctx) {
    InstancePtr plug = PluginInstance::create(ctx.entry);
    return plug ? plug->effect()->numPrograms : 0;
}

CheckResult sampleRates(CheckContext& ctx) {
    static const float kRates[] = {22050.0f, 32000.0f, 44100.0f,  48000.0f,
                                   88200.0f, 96000.0f, 176400.0f, 192000.0f};
    InstancePtr plug = prepared(ctx, -1);
    if (!plug) return CheckResult::fail("no effect");
    const int params = plug->effect()->numParams;
    std::vector<float> before(params);
    for (int i = 0; i < params; ++i) before[i] = plug->getParameter(i);
    for (float rate : kRates) {
        plug->changeRate(rate);
        const size_t frames = static_cast<size_t>(rate * ctx.seconds(0.25));
        const AudioVerdict verdict = render(*plug, Signal::Noise, ctx.seed, frames, {512});
        const std::string problem = verdict.problem(kOutputBound);
        if (!problem.empty())
            return CheckResult::fail(std::to_string(int(rate)) + " Hz: " + problem);
    }
    for (int i = 0; i < params; ++i)
        if (plug->getParameter(i) != before[i])
            return CheckResult::fail("parameter " + std::to_string(i) +
                                     " changed with the sample rate");
    return CheckResult::pass("8 rates from 22050 to 192000 Hz, parameters kept");
}

CheckResult blockSizes(CheckContext& ctx) {
    std::vector<int> sizes = {0,    1,    2,    3,    5,    7,    16,   31,   32,   63,   64,  65,
                              100,  127,  128,  129,  255,  256,  257,  333,  511,  512,  513, 1000,
                              1023, 1024, 1025, 2047, 2048, 2049, 4095, 4096, 4097, 8191, 8192};
    InstancePtr plug = prepared(ctx, -1, 48000.0f, 8192);
    if (!plug) return CheckResult::fail("no effect");
    const float kCanary = 1234.5f;
    const size_t kSlack = 16;
    AudioVerdict verdict;
    size_t frame = 0;
    const int rounds = ctx.count(3);
    for (int round = 0; round < rounds; ++round) {
        // The size changes from call to call, in an order new each round.
        std::shuffle(sizes.begin(), sizes.end(), ctx.random);
        for (int size : sizes) {
            StereoBuffer in(size + kSlack), out(size + kSlack);
            fillSignal(in, Signal::Noise, ctx.seed, frame);
            std::fill(out.left.begin(), out.left.end(), kCanary);
            std::fill(out.right.begin(), out.right.end(), kCanary);
            plug->process(in.pointers(), out.pointers(), size);
            for (size_t i = static_cast<size_t>(size); i < out.frames(); ++i)
                if (out.left[i] != kCanary || out.right[i] != kCanary)
                    return CheckResult::fail("a block of " + std::to_string(size) +
                                             " frames wrote past its end");
            verdict.add(out, static_cast<size_t>(size));
            frame += static_cast<size_t>(size);
        }
    }
    const std::string problem = verdict.problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(sizes.size()) + " sizes from 0 to 8192, " +
                             std::to_string(rounds) + " rounds in changing order");
}

CheckResult blockSizeIndependence(CheckContext& ctx) {
    const int programs = numPrograms(ctx);
    const int program = programs > 0 ? programs * 2 / 3 : -1;
    const size_t frames = static_cast<size_t>(48000.0 * ctx.seconds(1.0));
    StereoBuffer reference, other;
    InstancePtr a = prepared(ctx, program);
    if (!a) return CheckResult::fail("no effect");
    render(*a, Signal::Noise, ctx.seed, frames, {64}, &reference);
    for (const std::vector<int>& pattern :
         {std::vector<int>{1000, 1, 333, 4096, 17}, std::vector<int>{1}, std::vector<int>{8192}}) {
        InstancePtr b = prepared(ctx, program);
        render(*b, Signal::Noise, ctx.seed, frames, pattern, &other);
        const double difference = largestDifference(reference, other);
        if (difference > 0.0) {
            char text[128];
            std::snprintf(text, sizeof(text),
                          "blocks of %d, %s... differ from blocks of 64 by up to %.3g", pattern[0],
                          pattern.size() > 1 ? "changing" : "fixed", difference);
            return CheckResult::fail(text);
        }
    }
    return CheckResult::pass("bit-exact for blocks of 64, 1, 8192 and changing sizes");
}

CheckResult inPlace(CheckContext& ctx) {
    const int programs = numPrograms(ctx);
    const int program = programs > 0 ? programs / 2 : -1;
    const size_t frames = static_cast<size_t>(48000.0 * ctx.seconds(0.5));
    StereoBuffer separate;
    InstancePtr a = prepared(ctx, program);
    InstancePtr b = prepared(ctx, program);
    if (!a || !b) return CheckResult::fail("no effect");
    render(*a, Signal::Noise, ctx.seed, frames, {512}, &separate);
    StereoBuffer block(512);
    for (size_t at = 0; at < frames; at += 512) {
        const int n = static_cast<int>(std::min<size_t>(512, frames - at));
        fillSignal(block, Signal::Noise, ctx.seed, at);
        b->process(block.pointers(), block.pointers(), n);  // the same buffers in and out
        for (int i = 0; i < n; ++i)
            if (block.left[i] != separate.left[at + i] || block.right[i] != separate.right[at + i])
                return CheckResult::fail("in place differs from separate buffers at frame " +
                                         std::to_string(at + i));
    }
    return CheckResult::pass();
}

CheckResult silenceStaysSilent(CheckContext& ctx) {
    InstancePtr plug = prepared(ctx, -1);
    if (!plug) return CheckResult::fail("no effect");
    const AudioVerdict verdict = render(*plug, Signal::Silence, ctx.seed,
                                        static_cast<size_t>(48000.0 * ctx.seconds(1.0)), {512});
    const std::string problem = verdict.problem(0.0f);
    if (!problem.empty()) return CheckResult::fail(problem);
    if (verdict.peak != 0.0f) {
        char text[96];
        std::snprintf(text, sizeof(text), "silence in gives output up to %.3g",
                      double(verdict.peak));
        return CheckResult::fail(text);
    }
    return CheckResult::pass("digital silence");
}

CheckResult silenceAfterTheTail(CheckContext& ctx) {
    const double kLimitSeconds = 30.0;
    double longest = 0.0;
    bool allDigital = true;
    for (int program : programsFor(ctx, numPrograms(ctx))) {
        InstancePtr plug = prepared(ctx, program);
        if (!plug) return CheckResult::fail("no effect");
        render(*plug, Signal::FullScaleNoise, ctx.seed, 24000, {512});
        // Silence in until the output has stayed below -120 dBFS for a second.
        StereoBuffer in(512), out(512);
        fillSignal(in, Signal::Silence, 0);
        size_t quietSince = 0, frame = 0;
        bool quiet = false, digital = false;
        AudioVerdict verdict;
        while (frame < static_cast<size_t>(48000.0 * kLimitSeconds)) {
            plug->process(in.pointers(), out.pointers(), 512);
            verdict.add(out, 512);
            float peak = 0.0f;
            for (int i = 0; i < 512; ++i)
                peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
            if (peak >= kQuiet || !std::isfinite(peak)) quietSince = frame + 512;
            frame += 512;
            digital = peak == 0.0f;
            if (frame - quietSince >= 48000) {
                quiet = true;
                break;
            }
        }
        const std::string problem = verdict.problem(kOutputBound);
        if (!problem.empty())
            return CheckResult::fail("program " + std::to_string(program) + ": " + problem);
        if (!quiet)
            return CheckResult::fail("program " + std::to_string(program) +
                                     " is still above -120 dBFS after " +
                                     std::to_string(int(kLimitSeconds)) + " s of silence");
        longest = std::max(longest, quietSince / 48000.0);
        allDigital = allDigital && digital;
    }
    char text[128];
    std::snprintf(text, sizeof(text), "below -120 dBFS within %.1f s%s", longest,
                  allDigital ? ", then digital silence" : "");
    return CheckResult::pass(text);
}

CheckResult extremeInput(CheckContext& ctx) {
    const struct {
        Signal signal;
        const char* name;
    } kSignals[] = {
        {Signal::FullScaleNoise, "full-scale noise"},
        {Signal::Dc, "full-scale DC"},
        {Signal::Nyquist, "full-scale Nyquist tone"},
        {Signal::Denormal, "denormal-level input"},
        {Signal::Impulse, "a single full-scale impulse"},
    };
    const std::vector<int> programs = programsFor(ctx, numPrograms(ctx));
    float loudest = 0.0f;
    for (int program : programs) {
        InstancePtr plug = prepared(ctx, program);
        if (!plug) return CheckResult::fail("no effect");
        for (const auto& s : kSignals) {
            plug->dispatch(effMainsChanged, 0, 0);
            plug->dispatch(effMainsChanged, 0, 1);
            const AudioVerdict verdict = render(
                *plug, s.signal, ctx.seed, static_cast<size_t>(48000.0 * ctx.seconds(0.5)), {512});
            const std::string problem = verdict.problem(kOutputBound);
            if (!problem.empty())
                return CheckResult::fail(std::string(s.name) + ", program " +
                                         std::to_string(program) + ": " + problem);
            loudest = std::max(loudest, verdict.peak);
        }
    }
    char text[128];
    std::snprintf(text, sizeof(text), "%zu programs, 5 signals; peak %.2f, nothing subnormal",
                  programs.size(), double(loudest));
    return CheckResult::pass(text);
}

}  // namespace

void addAudioChecks(std::vector<Check>& checks) {
    checks.push_back({"sample rates", sampleRates, false});
    checks.push_back({"block sizes", blockSizes, false});
    checks.push_back({"output does not depend on block size", blockSizeIndependence, false});
    checks.push_back({"processing in place", inPlace, false});
    checks.push_back({"silence in, silence out", silenceStaysSilent, false});
    checks.push_back({"silence after the tail", silenceAfterTheTail, false});
    checks.push_back({"loud, DC and denormal input", extremeInput, false});
}
