// bench-peers: KORVEX52 next to reverbs of its class that Debian ships, on
// the same 60 s, 48 kHz stereo test signal at a comparable setting (about
// 2 s of decay, 30 % mix), in one run. Every round runs each contender once,
// in a rotating order, so load from other work on the machine falls on all
// of them alike; the figures are medians over the rounds, and what counts
// are the ratios between contenders measured side by side.
//
//   bench-peers [--rounds N] [--seconds S] [--work DIR]
//
// In-process contenders are timed by the processor time of this thread while
// they process the signal (creating and destroying an instance is not
// timed). sox runs as a whole process: its time with the reverb minus its
// time for the same file without an effect.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "LadspaPeer.h"
#include "Lv2Peer.h"
#include "OursPeer.h"

namespace peers {
namespace {

struct Signal {
    double rate = 48000.0;
    std::vector<float> left, right;
    size_t frames() const { return left.size(); }
};

uint32_t g_random = 2024;
float noise() {
    g_random = g_random * 1664525u + 1013904223u;
    return static_cast<float>(g_random >> 8) / 8388608.0f - 1.0f;
}

// Something like music: plucked tones with decaying partials, drum-like noise
// hits every half second, and a quiet sustained chord; peaks near -6 dBFS.
Signal testSignal(double seconds) {
    Signal s;
    const size_t frames = static_cast<size_t>(seconds * s.rate);
    s.left.assign(frames, 0.0f);
    s.right.assign(frames, 0.0f);
    const double twoPi = 6.283185307179586;
    for (size_t start = 0; start < frames; start += 12000) {
        const double pitch = 110.0 * std::pow(2.0, (g_random % 24) / 12.0);
        noise();
        const float pan = 0.5f + 0.4f * noise();
        for (size_t n = 0; n < 24000 && start + n < frames; ++n) {
            const double t = static_cast<double>(n) / s.rate;
            const double v =
                0.25 * std::exp(-4.0 * t) *
                (std::sin(twoPi * pitch * t) + 0.5 * std::sin(twoPi * 2.0 * pitch * t));
            s.left[start + n] += static_cast<float>(v) * (1.0f - pan);
            s.right[start + n] += static_cast<float>(v) * pan;
        }
    }
    for (size_t start = 0; start < frames; start += 24000) {
        for (size_t n = 0; n < 6000 && start + n < frames; ++n) {
            const float envelope = 0.3f * std::exp(-static_cast<float>(n) / 800.0f);
            s.left[start + n] += envelope * noise();
            s.right[start + n] += envelope * noise();
        }
    }
    for (size_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / s.rate;
        const float pad =
            static_cast<float>(0.03 * (std::sin(twoPi * 220.0 * t) + std::sin(twoPi * 277.2 * t)));
        s.left[n] += pad;
        s.right[n] += pad;
    }
    return s;
}

// The signal as raw interleaved 32-bit floats, for sox.
bool writeRaw(const std::string& path, const Signal& s) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    for (size_t n = 0; n < s.frames(); ++n) {
        const float frame[2] = {s.left[n], s.right[n]};
        std::fwrite(frame, sizeof(float), 2, f);
    }
    return std::fclose(f) == 0;
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Processor seconds for processing the whole signal; -1 if the instance
// could not be made. rms receives the output's level, a check that the
// contender really processed something.
double timeInstance(const Contender& c, const Signal& s, double& rms) {
    std::unique_ptr<Instance> instance = c.create(s.rate);
    if (!instance) return -1.0;
    std::vector<float> outL(kMaxBlock), outR(kMaxBlock);
    double energy = 0.0;
    const double start = threadSeconds();
    for (size_t from = 0; from < s.frames(); from += kMaxBlock) {
        const int n = static_cast<int>(std::min<size_t>(kMaxBlock, s.frames() - from));
        instance->process(&s.left[from], &s.right[from], outL.data(), outR.data(), n);
        energy +=
            static_cast<double>(outL[0]) * outL[0] + static_cast<double>(outR[n - 1]) * outR[n - 1];
    }
    const double seconds = threadSeconds() - start;
    rms = std::sqrt(energy / (2.0 * static_cast<double>((s.frames() + kMaxBlock - 1) / kMaxBlock)));
    return seconds;
}

// Processor seconds (user and system) of a child process; -1 on failure.
double timeProcess(const std::vector<std::string>& argv) {
    const pid_t pid = fork();
    if (pid < 0) return -1.0;
    if (pid == 0) {
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1.0;
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> v) {
    if (v.empty()) return -1.0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : 0.5 * (v[m - 1] + v[m]);
}

struct Row {
    Contender contender;
    std::vector<double> seconds;
    double rms = 0.0;
    bool failed = false;
};

std::vector<Row> contenders(const std::string& plugin) {
    std::vector<Row> rows;
    auto add = [&](std::string name, std::string setting, bool ours, auto create) {
        Row r;
        r.contender = {std::move(name), std::move(setting), ours, create};
        rows.push_back(std::move(r));
    };
    add(std::string("KORVEX52 plug-in (") + fastestPathName() + " path)", kOurSetting, true,
        [plugin](double rate) { return createOurPlugin(plugin, rate); });
    add("KORVEX52 engine, generic path", kOurSetting, true,
        [](double rate) { return createOurEngine(OurPath::kGeneric, rate); });
    if (avx2IsSecondPath()) {
        add("KORVEX52 engine, AVX2 path", kOurSetting, true,
            [](double rate) { return createOurEngine(OurPath::kAvx2, rate); });
    }
    add("KORVEX52 engine, per-frame reference", kOurSetting, true,
        [](double rate) { return createOurEngine(OurPath::kPerFrame, rate); });
    add("zita-reverb (LADSPA, rev-plugins)", "RT-low/mid 2 s, delay 40 ms, mix 0.3", false,
        [](double rate) {
            return createLadspa(
                "/usr/lib/ladspa/zita-reverbs.so", "zita-reverb",
                {{"Delay", 0.04f}, {"RT-low", 2.0f}, {"RT-mid", 2.0f}, {"Output mix", 0.3f}}, rate);
        });
    add("freeverb3 (LADSPA, cmt)",
        "room 0.88 (loop gain as ours at 2 s), damp 0.3, wet 0.3, dry 0.7", false, [](double rate) {
            return createLadspa("/usr/lib/ladspa/cmt.so", "freeverb3",
                                {{"Room Size", 0.88f},
                                 {"Damping", 0.3f},
                                 {"Wet Level", 0.3f},
                                 {"Dry Level", 0.7f},
                                 {"Width", 1.0f}},
                                rate);
        });
    add("Plate reverb (LV2, swh-lv2)", "time 2 s, damping 0.3, wet 0.3 (mono in)", false,
        [](double rate) {
            return createLv2("http://plugin.org.uk/swh-plugins/plate",
                             {{"time", 2.0f}, {"damping", 0.3f}, {"wet", 0.3f}}, rate);
        });
    add("Dragonfly Plate (LV2)", "decay 2 s, dry 70 %, wet 30 %", false, [](double rate) {
        return createLv2("urn:dragonfly:plate",
                         {{"decay", 2.0f}, {"dry_level", 70.0f}, {"early_level", 30.0f}}, rate);
    });
    return rows;
}

int run(int rounds, double seconds, const std::string& work, const std::string& plugin) {
    const Signal signal = testSignal(seconds);
    const std::string raw = work + "/peers-signal.f32";
    const bool haveRaw = writeRaw(raw, signal);
    const std::string rate = std::to_string(static_cast<int>(signal.rate));
    std::vector<Row> rows = contenders(plugin);

    // sox: with the reverb, and without any effect (its own reading and
    // writing), both to the null output.
    const std::vector<std::string> soxReverb = {"sox", "-q",  "-t",  "f32", "-r",     rate,
                                                "-c",  "2",   raw,   "-n",  "reverb", "50",
                                                "50",  "100", "100", "0",   "0"};
    const std::vector<std::string> soxPlain = {"sox", "-q", "-t", "f32", "-r",
                                               rate,  "-c", "2",  raw,   "-n"};
    std::vector<double> soxWith, soxWithout;

    // Our engine per frame at the common rates, on each sub-block path.
    const double rates[3] = {44100.0, 48000.0, 96000.0};
    const OurPath paths[3] = {OurPath::kFastest, OurPath::kGeneric, OurPath::kAvx2};
    const char* const pathNames[3] = {fastestPathName(), "generic", "avx2"};
    const int pathCount = avx2IsSecondPath() ? 3 : 2;
    std::vector<double> perRate[3][3];

    std::printf("bench-peers: %.0f s of %.0f Hz stereo, %d rounds, blocks of %d frames\n", seconds,
                signal.rate, rounds, kMaxBlock);
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < rows.size(); ++k) {
            Row& row = rows[(k + static_cast<size_t>(round)) % rows.size()];
            if (row.failed) continue;
            const double t = timeInstance(row.contender, signal, row.rms);
            if (t < 0.0) {
                row.failed = true;
                continue;
            }
            row.seconds.push_back(t);
        }
        if (haveRaw) {
            const double with = timeProcess(soxReverb);
            const double without = timeProcess(soxPlain);
            if (with >= 0.0 && without >= 0.0) {
                soxWith.push_back(with);
                soxWithout.push_back(without);
            }
        }
        for (int p = 0; p < pathCount; ++p) {
            for (int r = 0; r < 3; ++r) {
                Signal atRate = signal;
                atRate.rate = rates[r];
                const OurPath path = paths[p];
                const Contender c{"", "", true,
                                  [path](double rate) { return createOurEngine(path, rate); }};
                double rms = 0.0;
                perRate[p][r].push_back(timeInstance(c, atRate, rms));
            }
        }
        std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
    }

    if (rows[0].failed || rows[0].seconds.empty()) {
        std::printf("our plug-in could not be loaded from %s\n", plugin.c_str());
        return 1;
    }
    const double ours = median(rows[0].seconds);
    std::printf("\n%-40s %-66s %9s %9s %9s %10s\n", "contender", "setting", "CPU s", "min s",
                "x ours", "out rms");
    double fastestPeer = -1.0;
    std::string fastestName;
    for (const Row& row : rows) {
        if (row.failed || row.seconds.empty()) {
            std::printf("%-40s %-66s %9s\n", row.contender.name.c_str(),
                        row.contender.setting.c_str(), "failed");
            continue;
        }
        const double m = median(row.seconds);
        std::printf("%-40s %-66s %9.4f %9.4f %9.2f %10.4f\n", row.contender.name.c_str(),
                    row.contender.setting.c_str(), m,
                    *std::min_element(row.seconds.begin(), row.seconds.end()), m / ours, row.rms);
        if (!row.contender.ours && (fastestPeer < 0.0 || m < fastestPeer)) {
            fastestPeer = m;
            fastestName = row.contender.name;
        }
    }
    if (!soxWith.empty()) {
        const double m = median(soxWith) - median(soxWithout);
        std::printf("%-40s %-66s %9.4f %9s %9.2f %10s\n", "sox reverb (whole process - no effect)",
                    "reverberance 50 %, HF damping 50 %, room 100 %, depth 100 %", m, "-", m / ours,
                    "-");
        if (fastestPeer < 0.0 || m < fastestPeer) {
            fastestPeer = m;
            fastestName = "sox reverb";
        }
    } else {
        std::printf("%-40s %9s\n", "sox reverb", "failed");
    }

    std::printf("\nour engine per stereo frame (median ns, and times real time):\n");
    for (int p = 0; p < pathCount; ++p) {
        std::printf("  %-8s", pathNames[p]);
        for (int r = 0; r < 3; ++r) {
            const double ns = median(perRate[p][r]) / static_cast<double>(signal.frames()) * 1e9;
            std::printf("  %6.0f Hz: %6.2f ns (%5.0fx)", rates[r], ns, 1e9 / (ns * rates[r]));
        }
        const double ratio = median(perRate[p][2]) / median(perRate[p][1]);
        std::printf("  96k/48k: %.2f\n", ratio);
    }

    const LifeTimes life = measureCreateClose(plugin, 200);
    std::printf(
        "\ninstance create + close (entry point, effOpen, effClose; no editor): median %.3f ms, "
        "worst %.3f ms\n",
        life.medianMs, life.worstMs);

    releaseLv2();
    if (fastestPeer <= 0.0) {
        std::printf("\nno peer could be timed\n");
        return 1;
    }
    std::printf("\nfastest peer: %s\n", fastestName.c_str());
    std::printf("generic path/fastest peer: %.3f\n", median(rows[1].seconds) / fastestPeer);
    if (avx2IsSecondPath())
        std::printf("avx2 path/fastest peer: %.3f\n", median(rows[2].seconds) / fastestPeer);
    std::printf("ours/fastest peer: %.3f\n", ours / fastestPeer);
    return 0;
}

}  // namespace
}  // namespace peers

int main(int argc, char** argv) {
    int rounds = 5;
    double seconds = 60.0;
    std::string work = "/tmp";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::max(1.0, std::atof(argv[i + 1]));
        if (std::strcmp(argv[i], "--work") == 0) work = argv[i + 1];
    }
    return peers::run(rounds, seconds, work, KORVEX_PLUGIN_PATH);
}
