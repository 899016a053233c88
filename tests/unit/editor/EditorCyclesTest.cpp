// A thousand instances fed audio, their editors opened and closed; then LeakSanitizer asks.
#include <vector>

#include "EditorFixture.h"
#include "afx/afx_window.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

using namespace ZEPHRA2F9C41D07;

namespace {

TEST_F(EditorFixture, AThousandInstancesWithTheirEditorsComeAndGoWithoutLeaking) {
    constexpr int kCycles = 1000, kFrames = 256;
    std::vector<float> inL(kFrames, 0.25f), inR(kFrames, -0.25f), outL(kFrames), outR(kFrames);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    int opened = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        CPlug* instance = new CPlug(FakeHost::callback, 10, 10);
        instance->dispatcher(effOpen, 0, 0, nullptr, 0.0f);
        instance->dispatcher(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        instance->dispatcher(effSetBlockSize, 0, kFrames, nullptr, 0.0f);
        instance->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
        instance->setParameterAutomated(cycle % 10, 0.75f);
        instance->processReplacing(ins, outs, kFrames);
        instance->dispatcher(effEditOpen, 0, 0, parent, 0.0f);
        auto* gui = static_cast<CEditorGUI*>(instance->getEditor());
        if (gui->windowOpen()) {
            ++opened;
            void* win = afx_window_handle(ctx, gui->windowIndex());
            afx_headless_timer(win);
            afx_headless_paint(win);
        }
        instance->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
        instance->dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
        AEffect* effect = instance->getAeffect();
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);  // deletes the instance
    }
    EXPECT_EQ(opened, kCycles);
#ifdef __SANITIZE_ADDRESS__
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "LeakSanitizer found memory still held";
#endif
}

}  // namespace
