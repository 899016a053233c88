// Validation checks of the editor: opened and closed repeatedly inside a
// host window, opened while another thread processes audio, and the editors
// of two instances open at once. An editor counts as present when
// effEditOpen puts a window inside the host's; a plug-in that announces an
// editor but makes no window is reported as skipped (or failed, with
// --require-editor), never as passed.
#include <memory>

#include "tools/host/HostWindow.h"
#include "tools/host/validator/CheckAudio.h"
#include "tools/host/validator/Validator.h"

namespace {

constexpr int kFrameWidth = 1200;
constexpr int kFrameHeight = 900;
// Long enough for an editor's first timer ticks and paints.
constexpr int kPumpMs = 60;

// An instance and its host window, which takes the sizes the editor asks for.
struct EditorSession : EditorWindowHost {
    std::unique_ptr<HostWindow> window;
    InstancePtr plug;
    bool sizeWindow(int width, int height) override {
        return window && window->setClientSize(width, height);
    }
};

// Sets up an instance and a host window, and answers a skip or a failure
// when the editor cannot be checked; an empty detail with Pass when it can.
CheckResult prepare(CheckContext& ctx, EditorSession& session) {
    session.plug = PluginInstance::create(ctx.entry);
    if (!session.plug) return CheckResult::fail("no effect");
    session.plug->setWindowHost(&session);
    session.plug->start(48000.0f, 1024);
    if (!(session.plug->effect()->flags & effFlagsHasEditor))
        return CheckResult::skip("skipped (no editor)");
    std::string error;
    session.window = HostWindow::create(kFrameWidth, kFrameHeight, error);
    if (!session.window) return CheckResult::skip("skipped (" + error + ")");
    // A first opening tells whether there is an editor behind the flag.
    session.plug->dispatch(effEditOpen, 0, 0, session.window->handle());
    session.window->pump(kPumpMs);
    const int children = session.window->childWindows();
    session.plug->dispatch(effEditClose);
    session.window->pump(kPumpMs);
    if (children == 0) {
        if (ctx.requireEditor) return CheckResult::fail("effEditOpen made no window in the host's");
        return CheckResult::skip("skipped (no editor: effEditOpen made no window)");
    }
    return CheckResult::pass();
}

// Opens, idles and closes the editor; answers a complaint or an empty text.
std::string openIdleClose(PluginInstance& plug, HostWindow& window) {
    ERect* rect = nullptr;
    plug.dispatch(effEditGetRect, 0, 0, &rect);
    plug.dispatch(effEditOpen, 0, 0, window.handle());
    for (int i = 0; i < 3; ++i) {
        plug.dispatch(effEditIdle);
        window.pump(kPumpMs / 3);
    }
    if (window.childWindows() == 0) return "effEditOpen made no window";
    rect = nullptr;
    plug.dispatch(effEditGetRect, 0, 0, &rect);
    if (!rect || rect->right <= rect->left || rect->bottom <= rect->top)
        return "effEditGetRect gives no size while the editor is open";
    plug.dispatch(effEditClose);
    window.pump(kPumpMs / 3);
    if (window.childWindows() != 0) return "effEditClose left a window behind";
    return "";
}

CheckResult opensAndCloses(CheckContext& ctx) {
    EditorSession session;
    CheckResult ready = prepare(ctx, session);
    if (ready.status != CheckResult::Status::Pass) return ready;
    const int cycles = ctx.count(5);
    for (int n = 0; n < cycles; ++n) {
        const std::string problem = openIdleClose(*session.plug, *session.window);
        if (!problem.empty())
            return CheckResult::fail("cycle " + std::to_string(n + 1) + ": " + problem);
    }
    return CheckResult::pass(std::to_string(cycles) + " times");
}

CheckResult opensWhileAudioRuns(CheckContext& ctx) {
    EditorSession session;
    CheckResult ready = prepare(ctx, session);
    if (ready.status != CheckResult::Status::Pass) return ready;
    AudioThread audio(*session.plug, Signal::Noise, ctx.seed);
    const int cycles = ctx.count(5);
    for (int n = 0; n < cycles; ++n) {
        // Automation from the user-interface thread reaches the open editor.
        if (session.plug->effect()->numParams > 0) session.plug->setParameter(0, (n % 4) / 4.0f);
        const std::string problem = openIdleClose(*session.plug, *session.window);
        if (!problem.empty())
            return CheckResult::fail("cycle " + std::to_string(n + 1) + ": " + problem);
    }
    const std::string problem = audio.stop().problem(kOutputBound);
    if (!problem.empty()) return CheckResult::fail(problem);
    return CheckResult::pass(std::to_string(cycles) + " times during " +
                             std::to_string(audio.blocks()) + " blocks");
}

CheckResult editorsOfTwoInstances(CheckContext& ctx) {
    EditorSession first, second;
    CheckResult ready = prepare(ctx, first);
    if (ready.status != CheckResult::Status::Pass) return ready;
    ready = prepare(ctx, second);
    if (ready.status != CheckResult::Status::Pass) return ready;
    first.plug->dispatch(effEditOpen, 0, 0, first.window->handle());
    second.plug->dispatch(effEditOpen, 0, 0, second.window->handle());
    first.window->pump(kPumpMs);
    second.window->pump(kPumpMs);
    if (first.window->childWindows() == 0 || second.window->childWindows() == 0)
        return CheckResult::fail("two editors could not be open at once");
    // Closed in the order they were opened; the second must keep working.
    first.plug->dispatch(effEditClose);
    second.window->pump(kPumpMs);
    if (second.window->childWindows() == 0)
        return CheckResult::fail("closing one editor closed the other");
    const std::string problem = openIdleClose(*first.plug, *first.window);
    second.plug->dispatch(effEditClose);
    second.window->pump(kPumpMs);
    if (!problem.empty()) return CheckResult::fail("reopened beside another: " + problem);
    return CheckResult::pass();
}

}  // namespace

void addEditorChecks(std::vector<Check>& checks) {
    checks.push_back({"editor opens and closes", opensAndCloses, false});
    checks.push_back({"editor opens while audio runs", opensWhileAudioRuns, false});
    checks.push_back({"editors of two instances", editorsOfTwoInstances, false});
}
