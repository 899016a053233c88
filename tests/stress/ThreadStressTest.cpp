// The plug-in used the way a DAW uses it, with every thread at once: an audio
// thread processing without pause (changing its block size, and suspending
// and resuming between blocks as some hosts do from that thread), the
// user-interface thread choosing programs, renaming them and saving and
// restoring chunks, and two automation threads setting parameters. Built
// with ThreadSanitizer, so a data race fails the run; the audio thread must
// also never take a lock or allocate memory.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"
#include "afx/platform/headless/afx_headless.h"
#include "editor/EditorLink.h"
#include "frame/AudioEffect.h"
#include "frame/vst_abi.h"
#include "tests/unit/dsp/TestSignals.h"
#include "tests/unit/support/RealtimeGuard.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);
// The library's resources, embedded for this program.
void* stress_resources_module();

namespace {

// The host answers from any thread without keeping state, as a DAW's
// callback must when automation arrives from the audio thread.
VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        case audioMasterGetSampleRate: return 48000;
        case audioMasterGetBlockSize: return 1024;
        default: return 0;
    }
}

std::chrono::milliseconds runTime() {
    const char* text = std::getenv("KORVEX_STRESS_SECONDS");
    const double seconds = text ? std::atof(text) : 3.0;
    return std::chrono::milliseconds(static_cast<long>((seconds > 0.0 ? seconds : 3.0) * 1000.0));
}

struct Plugin {
    AEffect* effect = VSTPluginMain(hostCallback);
    Plugin() {
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        dispatch(effSetBlockSize, 0, 1024);
        dispatch(effMainsChanged, 0, 1);
    }
    ~Plugin() {
        dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
    }
    VstIntPtr dispatch(VstInt32 op, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) {
        return effect->dispatcher(effect, op, index, value, ptr, opt);
    }
};

// Processes blocks of changing size until stop is set; answers the number of
// blocks, whether every output sample was finite, and what the realtime
// guard counted on the thread.
struct AudioThread {
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0};
    std::atomic<bool> finite{true};
    realtime_guard::Counts counts;
    std::thread thread;

    void start(Plugin& plug) {
        thread = std::thread([this, &plug] {
            // Buffers first: the audio thread's own set-up may allocate.
            std::vector<float> inL = ZEPHRA2F9C41D07::noise(1024, 7),
                               inR = ZEPHRA2F9C41D07::noise(1024, 8);
            std::vector<float> outL(1024), outR(1024);
            static const int kSizes[] = {1024, 768, 256, 64, 65, 1, 333, 0, 512, 1000};
            realtime_guard::watchThisThread();
            long n = 0;
            while (!stop.load(std::memory_order_relaxed)) {
                const int frames = kSizes[n % 10];
                float* ins[2] = {inL.data(), inR.data()};
                float* outs[2] = {outL.data(), outR.data()};
                plug.effect->processReplacing(plug.effect, ins, outs, frames);
                for (int i = 0; i < frames; ++i)
                    if (!std::isfinite(outL[i]) || !std::isfinite(outR[i])) finite = false;
                // Some hosts suspend and resume from the audio thread.
                if (n % 97 == 96) {
                    plug.dispatch(effMainsChanged, 0, 0);
                    plug.dispatch(effMainsChanged, 0, 1);
                }
                ++n;
                blocks.store(n, std::memory_order_relaxed);
            }
            counts = realtime_guard::stopWatching();
        });
    }
    void finish() {
        stop = true;
        thread.join();
    }
};

void automate(Plugin& plug, std::atomic<bool>& stop, unsigned seed, std::atomic<long>& changes) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> index(0, 9);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    while (!stop.load(std::memory_order_relaxed)) {
        const int i = index(random);
        plug.effect->setParameter(plug.effect, i, value(random));
        (void)plug.effect->getParameter(plug.effect, i);
        changes.fetch_add(1, std::memory_order_relaxed);
    }
}

}  // namespace

TEST(ThreadStress, ProgramsChunksAndAutomationWhileAudioRuns) {
    Plugin plug;
    ASSERT_NE(plug.effect, nullptr);
    AudioThread audio;
    audio.start(plug);
    std::atomic<bool> stopAutomation{false};
    std::atomic<long> changes{0};
    std::thread automationA(automate, std::ref(plug), std::ref(stopAutomation), 11u,
                            std::ref(changes));
    std::thread automationB(automate, std::ref(plug), std::ref(stopAutomation), 23u,
                            std::ref(changes));

    // The user-interface thread: what a host and its user do meanwhile.
    std::mt19937 random(3);
    const auto end = std::chrono::steady_clock::now() + runTime();
    long rounds = 0;
    // The run time, and at least enough rounds of every thread however busy
    // the machine is.
    while (std::chrono::steady_clock::now() < end || rounds < 100 || audio.blocks < 100 ||
           changes < 1000) {
        const int program = static_cast<int>(random() % 10);
        plug.dispatch(effSetProgram, 0, program);
        char name[64] = {};
        plug.dispatch(effGetProgramName, 0, 0, name);
        plug.dispatch(effGetProgramNameIndexed, program, 0, name);
        if (rounds % 5 == 0) plug.dispatch(effSetProgramName, 0, 0, const_cast<char*>("Stress"));

        void* data = nullptr;
        const VstIntPtr bankSize = plug.dispatch(effGetChunk, 0, 0, &data);
        std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                        static_cast<unsigned char*>(data) + bankSize);
        const VstIntPtr presetSize = plug.dispatch(effGetChunk, 1, 0, &data);
        std::vector<unsigned char> preset(static_cast<unsigned char*>(data),
                                          static_cast<unsigned char*>(data) + presetSize);
        plug.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data());
        plug.dispatch(effSetChunk, 1, static_cast<VstIntPtr>(preset.size()), preset.data());

        char display[64] = {};
        plug.dispatch(effGetParamDisplay, static_cast<VstInt32>(random() % 10), 0, display);
        plug.dispatch(effSetBypass, 0, rounds % 7 == 0 ? 1 : 0);
        plug.dispatch(effEditIdle);
        ++rounds;
    }
    stopAutomation = true;
    automationA.join();
    automationB.join();
    audio.finish();

    EXPECT_TRUE(audio.finite.load()) << "the audio thread produced a sample that is not finite";
    EXPECT_EQ(audio.counts.locks, 0u) << "the audio thread took a lock";
    EXPECT_EQ(audio.counts.allocations, 0u) << "the audio thread allocated memory";
}

// The toolkit on this thread (the user-interface thread) over the in-memory
// backend, with a host window for the editor to open in.
struct Toolkit {
    Toolkit() {
        afx_headless_reset();
        afx_set_module(stress_resources_module());
        context = afx_context_get(true);
        afx_set_class_base(context, "27D706069AC8");
        afx_bitmap_font_get(true);
        afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
        parent = afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 500, 700, nullptr);
    }
    ~Toolkit() {
        afx_destroy_all(context);
        afx_context_release(context);
        afx_context_free(context);
        if (afx_bitmap_font* font = afx_bitmap_font_get(false)) {
            afx_bitmap_font_release(font);
            afx_bitmap_font_free(font);
        }
        afx_set_module(nullptr);
        afx_headless_reset();
    }
    afx_context* context = nullptr;
    void* parent = nullptr;
};

TEST(ThreadStress, EditorNotificationsWhileAudioRuns) {
    // The editor is open and its 40 ms timer runs on this thread, taking up
    // what the automation and audio threads hand over while they run.
    Toolkit toolkit;
    ASSERT_NE(toolkit.context, nullptr);
    Plugin plug;
    plug.dispatch(effEditOpen, 0, 0, toolkit.parent);
    void* window = afx_headless_window_count() > 1 ? afx_headless_window_at(1) : nullptr;
    ASSERT_NE(window, nullptr) << "the editor did not open";
    // The editor the plug-in made for itself; the plug-in only ever holds an
    // EditorLink there.
    auto* effect = static_cast<AudioEffect*>(plug.effect->object);
    auto* editor = static_cast<EditorLink*>(effect->getEditor());
    ASSERT_NE(editor, nullptr) << "the plug-in holds no editor";

    AudioThread audio;
    audio.start(plug);
    std::atomic<bool> stop{false};
    std::atomic<long> changes{0};
    std::thread automation(automate, std::ref(plug), std::ref(stop), 5u, std::ref(changes));
    const auto end = std::chrono::steady_clock::now() + runTime();
    long rounds = 0;
    long ticks = 0;
    float size[4] = {};
    while (std::chrono::steady_clock::now() < end || rounds < 120 || audio.blocks < 100) {
        editor->parameterChanged(static_cast<VstInt32>(rounds % 11), 0.25f);
        editor->programChanged(static_cast<VstInt32>(rounds % 10));
        editor->setHostBypassed(rounds % 3 ? 1.0f : 0.0f);
        editor->setTitle("KORVEX52: Stress");
        editor->querySize(size);
        plug.dispatch(effEditIdle);
        // A tick redraws what changed (under the sanitizer a whole repaint
        // is slow), so the timer runs on every 20th round.
        if (rounds % 20 == 0) {
            ticks += afx_headless_timer(window) ? 1 : 0;
            afx_headless_paint(window);
        }
        ++rounds;
    }
    stop = true;
    automation.join();
    audio.finish();
    plug.dispatch(effEditClose);
    EXPECT_GT(ticks, 5) << "the editor's timer did not tick";
    EXPECT_TRUE(audio.finite.load());
    EXPECT_EQ(audio.counts.locks, 0u) << "the audio thread took a lock";
    EXPECT_EQ(audio.counts.allocations, 0u) << "the audio thread allocated memory";
}
