// Editor drawing speed through the in-memory backend, at display scale 2.0
// (a 728 x 1076 window, the panel zoomed twice): a full repaint of the
// window, and one tick of a knob drag (the move handler redraws the knob,
// the timer redraws the read-out, the paint resamples and presents both).
// The baseline, measured in the same run, is a plain copy of the window's
// 24-bit surface, so figures read as ratios across machines.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"
#include "afx/platform/headless/afx_headless.h"
#include "editor/CEditorGUI.h"
#include "plugin/CPlug.h"

void* korvex_bench_editor_resources_module();

using namespace ZEPHRA2F9C41D07;

namespace {

constexpr int32_t kWidth = 728;
constexpr int32_t kHeight = 1076;

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// One open editor at display scale 2.0 for the whole program.
struct OpenEditor {
    OpenEditor() {
        afx_headless_reset();
        afx_headless_set_dpi(192, 192);
        afx_set_module(korvex_bench_editor_resources_module());
        ctx = afx_context_get(true);
        afx_set_class_base(ctx, "27D706069AC8");
        afx_bitmap_font_get(true);
        afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
        void* parent =
            afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 1000, 1200, nullptr);
        plug = new CPlug(quietHost, 10, 10);
        editor = static_cast<CEditorGUI*>(plug->getEditor());
        plug->dispatcher(effEditOpen, 0, 0, parent, 0.0f);
        window = afx_window_handle(ctx, editor->windowIndex());
        afx_headless_paint(window);
    }
    afx_context* ctx = nullptr;
    CPlug* plug = nullptr;
    CEditorGUI* editor = nullptr;
    void* window = nullptr;
};

OpenEditor& shared() {
    static OpenEditor open;
    return open;
}

void BM_Baseline_CopyWindowSurface(benchmark::State& state) {
    const size_t stride = (static_cast<size_t>(kWidth) * 3u + 3u) & ~size_t(3);
    std::vector<uint8_t> from(stride * kHeight, 0x55), to(stride * kHeight);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(to.size()));
}
BENCHMARK(BM_Baseline_CopyWindowSurface);

// The whole window repainted: the host's bypass flag told again marks the
// whole window for the next tick, which resamples the panel twice its size
// into the surface and presents all of it.
void BM_Editor_FullRepaintZoom2(benchmark::State& state) {
    OpenEditor& e = shared();
    if (e.editor->windowWidth() != kWidth || e.editor->panelZoom() != 2.0f) {
        state.SkipWithError("the editor did not open at 728 x 1076, zoom 2");
        return;
    }
    for (auto _ : state) {
        e.editor->setHostBypassed(1.0f);
        afx_headless_timer(e.window);
        afx_headless_paint(e.window);
    }
}
BENCHMARK(BM_Editor_FullRepaintZoom2)->Unit(benchmark::kMillisecond);

// The Mix knob held and moved one pixel up or down per tick: the host is
// told, the knob redrawn, the read-out redrawn by the timer, both painted.
void BM_Editor_KnobDragTick(benchmark::State& state) {
    OpenEditor& e = shared();
    const int32_t x = e.editor->panelLeft() + 100 * 2, y = 358 * 2 - 30;
    afx_headless_set_buttons_held(true);
    afx_headless_button_down(e.window, x, y, 0);
    int32_t step = 0;
    for (auto _ : state) {
        afx_headless_move(e.window, x - 30, y + ((step++ & 1) ? 1 : -1));
        afx_headless_timer(e.window);
        afx_headless_paint(e.window);
    }
    afx_headless_set_buttons_held(false);
    afx_headless_button_up(e.window, x, y, 0);
}
BENCHMARK(BM_Editor_KnobDragTick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
